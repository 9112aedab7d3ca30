// Pictures decoded ahead of their textures, on threads of their own.
#include "render/picture_prefetch.h"

#include <system_error>
#include <utility>

PicturePrefetch::PicturePrefetch(const std::vector<std::string>& paths) : slots_(paths.size()) {
    for (size_t i = 0; i < paths.size(); ++i) {
        slots_[i].path = paths[i];
        // A path listed twice is decoded once; the later copy is never asked for.
        indexOf_.emplace(paths[i], i);
    }
}

PicturePrefetch::~PicturePrefetch() {
    finish();
}

bool PicturePrefetch::start(int threads) {
#ifdef __EMSCRIPTEN__
    (void)threads;
    return false;
#else
    if (started_ || threads < 1 || stop_) {
        return false;
    }
    for (int i = 0; i < threads; ++i) {
        try {
            threads_.emplace_back(&PicturePrefetch::work, this);
        } catch (const std::system_error&) {
            break; // the threads that did start go on; the rest is decoded by take's caller
        }
    }
    started_ = !threads_.empty();
    return started_;
#endif
}

void PicturePrefetch::work() {
    while (decodeNext()) {
    }
}

bool PicturePrefetch::decodeNext() {
    if (stop_) {
        return false;
    }
    const size_t i = next_.fetch_add(1);
    if (i >= slots_.size()) {
        return false;
    }
    // The path never changes once the list is made, so it is read without the lock.
    Picture picture;
    const bool decoded = decodePlainPicture(slots_[i].path, &picture);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        slots_[i].picture = std::move(picture);
        slots_[i].state = decoded ? kDecoded : kDeclined;
    }
    settled_.notify_all();
    return true;
}

bool PicturePrefetch::take(const std::string& path, Picture* picture) {
    if (!started_) {
        return false;
    }
    const auto found = indexOf_.find(path);
    if (found == indexOf_.end()) {
        return false;
    }
    const size_t i = found->second;
    Slot& slot = slots_[i];
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            if (slot.state == kDecoded) {
                *picture = std::move(slot.picture);
                slot.picture = Picture();
                slot.state = kTaken;
                return true;
            }
            if (slot.state != kPending) {
                return false;
            }
            if (next_.load() > i) {
                // Claimed by another thread, which settles it.
                settled_.wait(lock, [&slot] { return slot.state != kPending; });
                continue;
            }
        }
        if (!decodeNext() && stop_) {
            return false;
        }
    }
}

void PicturePrefetch::finish() {
    stop_ = true;
    for (std::thread& thread : threads_) {
        thread.join();
    }
    threads_.clear();
    started_ = false;
    std::lock_guard<std::mutex> lock(mutex_);
    for (Slot& slot : slots_) {
        slot.picture = Picture();
    }
}

int PicturePrefetch::decodedCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    int count = 0;
    for (const Slot& slot : slots_) {
        count += slot.state == kDecoded || slot.state == kTaken ? 1 : 0;
    }
    return count;
}

int PicturePrefetch::declinedCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    int count = 0;
    for (const Slot& slot : slots_) {
        count += slot.state == kDeclined ? 1 : 0;
    }
    return count;
}
