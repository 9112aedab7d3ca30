// A new file that appears under its name whole or not at all, and never in place of anything that
// already has the name. The bytes go to a hidden file beside it first ("." + name + ".part"), which is
// given the name only once every byte is on the disk. A run killed half-way leaves just that hidden
// file, which the next writer of the same name removes.
#pragma once

#include <cstddef>
#include <string>

class NewFileWriter {
public:
    explicit NewFileWriter(const std::string& path);
    ~NewFileWriter(); // removes a temporary file that was not published
    NewFileWriter(const NewFileWriter&) = delete;
    NewFileWriter& operator=(const NewFileWriter&) = delete;

    // Unless the name is taken: removes a temporary file left by an earlier run and creates our own.
    void begin();
    void write(const void* data, size_t length);
    // Gives the written file its name, unless something has taken the name meanwhile; the temporary
    // file goes either way.
    void publish();
    // begin, write and publish in one.
    void writeWhole(const std::string& bytes);

    // Something already had the name (or took it before we could publish, or another copy of the game
    // took over the temporary file to write the same file): nothing was written under the name, and
    // this is not a failure.
    bool nameTaken() const { return nameTaken_; }
    // The file could not be written (no room, a file-size limit, no permission): nothing is left under
    // the name or the temporary one.
    bool failed() const { return failed_; }
    bool published() const { return published_; }

    const std::string& temporaryPath() const { return temporary_; }

private:
    // Where the file system has no hard links: create the file under its name exclusively and write
    // it there, removing it again when the write fails.
    void writeInPlace();
    void removeOwnTemporary();
    void fail();

    std::string path_;
    std::string temporary_;
    std::string bytes_; // what was written, again, for writeInPlace
    int fd_ = -1;
    bool nameTaken_ = false;
    bool failed_ = false;
    bool published_ = false;
};
