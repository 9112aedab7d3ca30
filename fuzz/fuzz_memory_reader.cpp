// Fuzz target: the resource cipher and the MemoryReader, fed any file at all. Whatever the bytes, the
// reader holds exactly the unscrambled file, never reads outside it, and a failed read leaves its
// position where it was.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "resources/binary_file_stream.h"
#include "resources/cipher.h"
#include "resources/memory_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The cipher: unscrambling then scrambling gives the stored bytes back.
    std::vector<uint8_t> bytes(data, data + size);
    unscrambleResource(bytes.data(), bytes.size());
    std::vector<uint8_t> again = bytes;
    scrambleResource(again.data(), again.size());
    require(again == std::vector<uint8_t>(data, data + size));

    const std::string path = fuzzScratchFile("input.dat");
    require(writeRawFile(path, data, size));

    MemoryReader reader;
    reader.load(path.c_str());
    if (size == 0) {
        require(reader.failed() && reader.size() == 0);
        return 0;
    }
    require(!reader.failed());
    require(reader.size() == static_cast<int>(size) && reader.position() == 0);

    // Read it the way a decoder would, int32 and byte mixed by the content itself, and compare with
    // the cipher's own result.
    size_t expected = 0;
    while (reader.remaining() > 0) {
        const int before = reader.position();
        if (bytes[expected] & 1) {
            const int32_t value = reader.readInt32();
            if (size - expected < 4) {
                require(reader.failed() && value == 0 && reader.position() == before);
                const int byte = reader.readByte();
                require(!reader.failed() && byte == bytes[expected]);
                ++expected;
                continue;
            }
            uint32_t bits = 0;
            std::memcpy(&bits, &bytes[expected], 4);
            require(!reader.failed() && value == static_cast<int32_t>(bits));
            require(reader.position() == before + 4);
            expected += 4;
        } else {
            const int byte = reader.readByte();
            require(!reader.failed() && byte == bytes[expected] && reader.position() == before + 1);
            ++expected;
        }
    }
    require(expected == size);
    // Past the end: zeros, the flag, and no movement.
    require(reader.readByte() == 0 && reader.failed() && reader.position() == static_cast<int>(size));
    require(reader.readInt32() == 0 && reader.failed() && reader.position() == static_cast<int>(size));

    // The stream's typed readers on the same outside bytes: they may fail, never overrun.
    BinaryFileStream stream;
    stream.openRead(path.c_str());
    require(!stream.failed());
    require(stream.size() == static_cast<int>(size));
    for (int i = 0; i < 64; ++i) {
        const std::string text = stream.readString();
        require(text.size() <= size);
        if (stream.failed()) {
            break;
        }
        stream.readBool();
        stream.readInt64();
    }
    stream.close();
    return 0;
}
