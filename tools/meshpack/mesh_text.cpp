// Mesh text format, read by meshpack:
//
//   # a comment runs from '#' to the end of its line; blank lines are ignored
//   vertices 3                 vertex count n: a positive multiple of 3, every 3 vertices one triangle
//   uv 0 0                     n lines "uv s t": texture coordinates shared by every frame, t counted
//   uv 1 0                       from the image's bottom row (as modelling tools count it)
//   uv 0 1
//   frame 0                    a keyframe at time 0 (seconds, >= 0, never below the previous frame)
//   v 0 0 0  1 0 0             n lines "v x y z nx ny nz": position and normal of each vertex in order
//   v 0 1 0  1 0 0
//   v 0 0 1  1 0 0
//   frame 0.5                  more keyframes, each with its n "v" lines
//   ...
//
// At least one frame is needed. Numbers are plain decimals. Times, texture coordinates and positions
// are stored in steps of 0.0001 and must lie within +-214748; normal components must lie in -1..1 and
// are stored in steps of 1/127.
#include "tools/meshpack/mesh_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "resources/cipher.h"

namespace {
const double kFixedPointSteps = 10000.0;
// Comfortably inside the 32-bit range of the stored integers.
const double kLargestFixedPoint = 214748.0;
// Far beyond any real mesh; keeps every size of the file within its 32-bit fields.
const long kMostVertices = 30000000;

bool parseNumber(const std::string& word, float& value) {
    if (word.empty()) {
        return false;
    }
    char* end = nullptr;
    const double parsed = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size() || !std::isfinite(parsed)) {
        return false;
    }
    value = static_cast<float>(parsed);
    return true;
}

// Splits a line into words, dropping a comment.
std::vector<std::string> wordsOf(const std::string& line) {
    std::istringstream stream(line.substr(0, line.find('#')));
    std::vector<std::string> words;
    std::string word;
    while (stream >> word) {
        words.push_back(word);
    }
    return words;
}

bool readNumbers(const std::vector<std::string>& words, size_t count, std::vector<float>& out) {
    if (words.size() != count + 1) {
        return false;
    }
    for (size_t i = 1; i < words.size(); ++i) {
        float value;
        if (!parseNumber(words[i], value)) {
            return false;
        }
        out.push_back(value);
    }
    return true;
}

bool fitsFixedPoint(float value) {
    return std::fabs(static_cast<double>(value)) <= kLargestFixedPoint;
}

int32_t toFixedPoint(float value) {
    return static_cast<int32_t>(std::lround(value * kFixedPointSteps));
}

void putInt32(std::vector<uint8_t>& bytes, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<uint8_t>(bits >> shift));
    }
}
} // namespace

bool parseMeshText(const std::string& text, MeshSource& mesh, std::string& error) {
    mesh = MeshSource();
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    long declared = -1;
    const auto fail = [&](const std::string& message) {
        error = "line " + std::to_string(lineNumber) + ": " + message;
        return false;
    };
    while (std::getline(lines, line)) {
        ++lineNumber;
        const std::vector<std::string> words = wordsOf(line);
        if (words.empty()) {
            continue;
        }
        const std::string& keyword = words[0];
        if (keyword == "vertices") {
            if (declared >= 0) {
                return fail("the vertex count is given twice");
            }
            char* end = nullptr;
            const long count = words.size() == 2 ? std::strtol(words[1].c_str(), &end, 10) : 0;
            if (words.size() != 2 || *end != '\0' || count <= 0 || count > kMostVertices || count % 3 != 0) {
                return fail("expected \"vertices N\" with N a positive multiple of 3");
            }
            declared = count;
        } else if (declared < 0) {
            return fail("the first line must be \"vertices N\"");
        } else if (keyword == "uv") {
            if (!mesh.frames.empty() || static_cast<long>(mesh.texCoords.size() / 2) == declared) {
                return fail("all " + std::to_string(declared) + " uv lines come before the first frame");
            }
            if (!readNumbers(words, 2, mesh.texCoords)) {
                return fail("expected \"uv s t\"");
            }
        } else if (keyword == "frame") {
            if (static_cast<long>(mesh.texCoords.size() / 2) != declared) {
                return fail("expected " + std::to_string(declared) + " uv lines before the first frame");
            }
            if (!mesh.frames.empty() &&
                static_cast<long>(mesh.frames.back().positions.size() / 3) != declared) {
                return fail("the frame before has fewer than " + std::to_string(declared) + " v lines");
            }
            MeshKeyframe frame;
            if (words.size() != 2 || !parseNumber(words[1], frame.time)) {
                return fail("expected \"frame TIME\"");
            }
            mesh.frames.push_back(frame);
        } else if (keyword == "v") {
            if (mesh.frames.empty()) {
                return fail("a v line comes before any frame");
            }
            MeshKeyframe& frame = mesh.frames.back();
            if (static_cast<long>(frame.positions.size() / 3) == declared) {
                return fail("more than " + std::to_string(declared) + " v lines in this frame");
            }
            std::vector<float> numbers;
            if (!readNumbers(words, 6, numbers)) {
                return fail("expected \"v x y z nx ny nz\"");
            }
            frame.positions.insert(frame.positions.end(), numbers.begin(), numbers.begin() + 3);
            frame.normals.insert(frame.normals.end(), numbers.begin() + 3, numbers.end());
        } else {
            return fail("unknown keyword \"" + keyword + "\"");
        }
    }
    ++lineNumber;
    if (declared < 0) {
        return fail("no \"vertices N\" line");
    }
    if (mesh.frames.empty()) {
        return fail("no frame");
    }
    if (static_cast<long>(mesh.frames.back().positions.size() / 3) != declared) {
        return fail("the last frame has fewer than " + std::to_string(declared) + " v lines");
    }
    return checkMeshSource(mesh, error);
}

bool checkMeshSource(const MeshSource& mesh, std::string& error) {
    const size_t n = mesh.texCoords.size() / 2;
    if (n == 0 || n % 3 != 0 || mesh.texCoords.size() % 2 != 0) {
        error = "the vertex count must be a positive multiple of 3";
        return false;
    }
    // n itself and every frame's size must fit the format's 32-bit counts.
    if (n > static_cast<size_t>(kMostVertices) || mesh.frames.size() > static_cast<size_t>(kMostVertices)) {
        error = "too many vertices or frames";
        return false;
    }
    if (mesh.frames.empty()) {
        error = "a mesh needs at least one frame";
        return false;
    }
    for (float value : mesh.texCoords) {
        if (!std::isfinite(value) || !fitsFixedPoint(value)) {
            error = "a texture coordinate is out of range";
            return false;
        }
    }
    float previousTime = 0.0f;
    for (size_t f = 0; f < mesh.frames.size(); ++f) {
        const MeshKeyframe& frame = mesh.frames[f];
        const std::string which = "frame " + std::to_string(f) + ": ";
        if (frame.positions.size() != 3 * n || frame.normals.size() != 3 * n) {
            error =
                which + "needs a position and a normal for each of the " + std::to_string(n) + " vertices";
            return false;
        }
        if (!(frame.time >= 0.0f) || !fitsFixedPoint(frame.time)) {
            error = which + "the time must be 0 or more";
            return false;
        }
        if (toFixedPoint(frame.time) < toFixedPoint(previousTime)) {
            error = which + "the time is before the previous frame's";
            return false;
        }
        previousTime = frame.time;
        for (float value : frame.positions) {
            if (!std::isfinite(value) || !fitsFixedPoint(value)) {
                error = which + "a position is out of range";
                return false;
            }
        }
        for (float value : frame.normals) {
            if (!(value >= -1.0f && value <= 1.0f)) {
                error = which + "a normal component is outside -1..1";
                return false;
            }
        }
    }
    return true;
}

std::vector<uint8_t> encodeMesh(const MeshSource& mesh) {
    std::vector<uint8_t> bytes = {'m', 's', 'h', '1'};
    const int32_t n = mesh.vertexCount();
    putInt32(bytes, n);
    for (int32_t i = 0; i < n; ++i) {
        putInt32(bytes, toFixedPoint(mesh.texCoords[2 * i]));
        // Stored as counted from the bottom row; the game turns it into its own top-down 1 - t.
        putInt32(bytes, toFixedPoint(mesh.texCoords[2 * i + 1]));
    }
    putInt32(bytes, static_cast<int32_t>(mesh.frames.size()));
    for (const MeshKeyframe& frame : mesh.frames) {
        putInt32(bytes, toFixedPoint(frame.time));
        for (float value : frame.positions) {
            putInt32(bytes, toFixedPoint(value));
        }
        for (float value : frame.normals) {
            bytes.push_back(static_cast<uint8_t>(static_cast<int8_t>(std::lround(value * 127.0f))));
        }
    }
    return bytes;
}

bool writeMeshResource(const std::string& path, const MeshSource& mesh, std::string& error) {
    if (!checkMeshSource(mesh, error)) {
        return false;
    }
    std::vector<uint8_t> bytes = encodeMesh(mesh);
    scrambleResource(bytes.data(), bytes.size());
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot create " + path;
        return false;
    }
    const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (fclose(file) != 0 || !written) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
