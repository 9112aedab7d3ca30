// respack's commands, on the game's own file stream and cipher so that what it writes is exactly what
// the game reads.
#include "tools/respack/respack_commands.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <vector>

#include "resources/binary_file_stream.h"
#include "resources/cipher.h"
#include "resources/payload_kind.h"
#include "resources/resource_file.h"

namespace {
bool writeFile(const std::string& path, const uint8_t* bytes, size_t length) {
    BinaryFileStream out;
    out.openWrite(path.c_str());
    if (out.failed()) {
        return false;
    }
    out.writeBytes(bytes, length);
    const bool written = !out.failed();
    out.close();
    return written && !out.failed();
}

// The number a file name stands for, as the game spells it: decimal digits without a leading zero or
// sign, then ".dat". -1 for any other name.
int resourceNumberOf(const std::string& name) {
    const std::string suffix = ".dat";
    if (name.size() <= suffix.size() ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return -1;
    }
    const std::string digits = name.substr(0, name.size() - suffix.size());
    if (digits.size() > 10 || (digits.size() > 1 && digits[0] == '0')) {
        return -1;
    }
    long long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value <= INT_MAX ? static_cast<int>(value) : -1;
}
} // namespace

int packFile(const std::string& plainPath, const std::string& resourcePath, FILE* err) {
    BinaryFileStream in;
    in.openRead(plainPath.c_str());
    size_t length = 0;
    uint8_t* bytes = in.failed() ? nullptr : in.readAll(&length);
    in.close();
    if (bytes == nullptr) {
        fprintf(err, "respack: cannot read %s (missing, empty, a directory or over %lld bytes)\n",
                plainPath.c_str(), static_cast<long long>(BinaryFileStream::maxWholeFileBytes()));
        return kRespackFailed;
    }
    scrambleResource(bytes, length);
    const bool written = writeFile(resourcePath, bytes, length);
    free(bytes);
    if (!written) {
        fprintf(err, "respack: cannot write %s\n", resourcePath.c_str());
        return kRespackFailed;
    }
    return kRespackOk;
}

int unpackFile(const std::string& resourcePath, const std::string& plainPath, FILE* err) {
    size_t length = 0;
    uint8_t* bytes = readResourceFile(resourcePath, &length);
    if (bytes == nullptr) {
        fprintf(err, "respack: cannot read %s (missing, empty, a directory or over %lld bytes)\n",
                resourcePath.c_str(), static_cast<long long>(BinaryFileStream::maxWholeFileBytes()));
        return kRespackFailed;
    }
    const bool written = writeFile(plainPath, bytes, length);
    free(bytes);
    if (!written) {
        fprintf(err, "respack: cannot write %s\n", plainPath.c_str());
        return kRespackFailed;
    }
    return kRespackOk;
}

int checkDirectory(const std::string& dir, FILE* out, FILE* err) {
    std::error_code error;
    std::filesystem::directory_iterator entries(dir, error);
    if (error) {
        fprintf(err, "respack: cannot list %s\n", dir.c_str());
        return kRespackFailed;
    }
    std::map<int, std::string> numbered;
    std::vector<std::string> ignored;
    for (const auto& entry : entries) {
        const std::string name = entry.path().filename().string();
        const int number = resourceNumberOf(name);
        if (number >= 0) {
            numbered[number] = entry.path().string();
        } else {
            ignored.push_back(name);
        }
    }
    int status = kRespackOk;
    for (const auto& [number, path] : numbered) {
        size_t length = 0;
        uint8_t* bytes = readResourceFile(path, &length);
        if (bytes == nullptr) {
            fprintf(out, "%d\tunreadable\n", number);
            status = kRespackFailed;
            continue;
        }
        fprintf(out, "%d\t%s\t%zu\n", number, payloadKindName(payloadKindOf(bytes, length)), length);
        free(bytes);
    }
    for (const std::string& name : ignored) {
        fprintf(out, "ignored\t%s\n", name.c_str());
    }
    return status;
}
