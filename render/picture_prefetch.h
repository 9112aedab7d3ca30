// PicturePrefetch: decodes a fixed list of picture files before their textures ask for them, on threads
// of its own, so that start-up decodes while the main thread opens the window. Only plain pictures are
// decoded ahead (picture.h), with no SDL call, so nothing here can race the window being opened, a
// display mode failing or SDL shutting down. What is declined, and everything when threads are absent
// (the browser build), the texture decodes itself as before, which keeps every failure, and the fatal
// message naming the file, exactly where it was.
#pragma once

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "render/picture.h"

class PicturePrefetch {
public:
    explicit PicturePrefetch(const std::vector<std::string>& paths);
    ~PicturePrefetch();
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    // Starts that many decoding threads, which take the files in list order. False, with nothing
    // started, where threads are absent or cannot be made; take then always declines.
    bool start(int threads);

    // Moves the picture decoded ahead for path into *picture: true. False when path is not in the list,
    // was declined or taken already, or decoding was never started (or is finished): the caller then
    // decodes the file itself. A picture still being decoded is waited for; while the file is not yet
    // begun, the calling thread decodes the next files of the list itself, so both cores work.
    bool take(const std::string& path, Picture* picture);

    // Stops and joins the threads and drops every picture not taken. Called once start-up has taken
    // what it needs; the destructor does it too.
    void finish();

    // How many files were decoded ahead and how many declined so far (for tests and benchmarks).
    int decodedCount();
    int declinedCount();

private:
    enum SlotState { kPending, kDecoded, kDeclined, kTaken };
    struct Slot {
        std::string path;
        SlotState state = kPending;
        Picture picture;
    };

    // Claims the next file of the list and decodes it; false when none is left or finish was asked.
    bool decodeNext();
    void work();

    std::vector<Slot> slots_;
    std::map<std::string, size_t> indexOf_;
    std::atomic<size_t> next_{0};
    std::atomic<bool> stop_{false};
    bool started_ = false;
    std::mutex mutex_; // guards every slot's state and picture once the threads run
    std::condition_variable settled_;
    std::vector<std::thread> threads_;
};
