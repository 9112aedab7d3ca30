// Mesh loading, keyframe sampling and drawing with client-side vertex arrays.
#include "render/mesh.h"

#include <SDL/SDL_opengl.h>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "app/random.h"
#include "resources/memory_reader.h"

namespace {
const float kFixedPointUnit = 0.0001f;
// Bytes every vertex takes in the file: s and t, and per frame x, y, z and three normal bytes.
const int64_t kTexCoordBytesPerVertex = 8;
const int64_t kFrameBytesPerVertex = 15;
const int64_t kFrameHeaderBytes = 4;

float fixedPoint(int32_t value) {
    return static_cast<float>(static_cast<double>(value) * kFixedPointUnit);
}

template <typename T> void freeArray(std::vector<T>& array) {
    std::vector<T>().swap(array);
}

// Reads in order and remembers whether any read failed (the reader's own flag only tells about the
// last read).
class FileCursor {
public:
    explicit FileCursor(MemoryReader& reader) : reader_(reader) {}
    int32_t int32() { return note(reader_.readInt32()); }
    int byte() { return note(reader_.readByte()); }
    bool failed() const { return failed_; }

private:
    template <typename T> T note(T value) {
        failed_ = failed_ || reader_.failed();
        return value;
    }
    MemoryReader& reader_;
    bool failed_ = false;
};
} // namespace

Mesh::~Mesh() {
    reset();
}

void Mesh::reset() {
    freeArray(frameTimes_);
    freeArray(framePositions_);
    freeArray(frameNormals_);
    freeArray(texCoords_);
    freeArray(currentPositions_);
    freeArray(currentNormals_);
    if (displayList_ != 0) {
        glDeleteLists(displayList_, 1);
    }
    frameCount_ = 0;
    vertexCount_ = 0;
    cachedTime_ = -1.0f;
    displayList_ = 0;
}

bool Mesh::load(const std::string& path) {
    reset();
    if (path.empty()) {
        return false;
    }
    MemoryReader reader;
    reader.load(path.c_str());
    if (reader.failed() || !parse(reader)) {
        reset();
        return false;
    }
    currentPositions_.assign(framePositions_.begin(), framePositions_.begin() + 3 * vertexCount_);
    currentNormals_.assign(frameNormals_.begin(), frameNormals_.begin() + 3 * vertexCount_);
    if (frameCount_ == 1) {
        const GLuint list = glGenLists(1);
        if (list != 0) {
            glNewList(list, GL_COMPILE);
            showPose(0.0f);
            glEndList();
            displayList_ = list;
        }
    }
    return true;
}

bool Mesh::parse(MemoryReader& reader) {
    FileCursor in(reader);
    const int m = in.byte();
    const int s = in.byte();
    const int h = in.byte();
    const int version = in.byte();
    if (in.failed() || m != 'm' || s != 's' || h != 'h' || version != '1') {
        return false;
    }
    const int32_t n = in.int32();
    if (in.failed() || n <= 0 || n % 3 != 0) {
        return false;
    }
    // The file is untrusted: a count is believed only if the bytes it calls for are there, so a
    // damaged or hostile header can never make us allocate more than the file itself could fill.
    const int64_t smallestRest =
        n * kTexCoordBytesPerVertex + 4 + kFrameHeaderBytes + n * kFrameBytesPerVertex;
    if (smallestRest > reader.remaining()) {
        return false;
    }
    texCoords_.resize(2 * static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        texCoords_[2 * i] = fixedPoint(in.int32());
        // Stored as modelling tools count it, from the image's bottom row; our textures start at the top.
        texCoords_[2 * i + 1] = 1.0f - fixedPoint(in.int32());
    }
    const int32_t frames = in.int32();
    if (in.failed() || frames <= 0) {
        return false;
    }
    const int64_t frameBytes = kFrameHeaderBytes + n * kFrameBytesPerVertex;
    if (frames > reader.remaining() / frameBytes) {
        return false;
    }

    const size_t perFrame = 3 * static_cast<size_t>(n);
    frameTimes_.resize(frames);
    framePositions_.resize(perFrame * frames);
    frameNormals_.resize(perFrame * frames);
    int32_t previousTime = 0;
    for (int32_t f = 0; f < frames; ++f) {
        const int32_t time = in.int32();
        if (in.failed() || time < previousTime) {
            return false;
        }
        previousTime = time;
        frameTimes_[f] = fixedPoint(time);
        float* positions = &framePositions_[perFrame * f];
        for (size_t j = 0; j < perFrame; ++j) {
            positions[j] = fixedPoint(in.int32());
        }
        float* normals = &frameNormals_[perFrame * f];
        for (size_t j = 0; j < perFrame; ++j) {
            normals[j] = static_cast<float>(static_cast<int8_t>(in.byte())) / 127.0f;
        }
        if (in.failed()) {
            return false;
        }
    }
    frameCount_ = frames;
    vertexCount_ = n;
    return true;
}

float Mesh::duration() const {
    return frameCount_ < 2 ? 0.0f : frameTimes_[frameCount_ - 1];
}

float Mesh::wrapIntoCycle(float time) const {
    const float cycle = frameTimes_[frameCount_ - 1];
    return cycle == 0.0f ? 0.0f : wrapPositive(time, cycle);
}

void Mesh::keyPair(float time, int& a, int& b, float& w) const {
    const int last = frameCount_ - 1;
    const float* keys = frameTimes_.data();
    // a: the last key at or before the time; b: the first key at or after it.
    a = static_cast<int>(std::upper_bound(keys, keys + frameCount_, time) - keys) - 1;
    if (a < 0) {
        a = last;
    }
    b = static_cast<int>(std::lower_bound(keys, keys + frameCount_, time) - keys);
    if (b > last) {
        b = last;
    }
    if (a != last) {
        w = keys[b] == keys[a] ? 1.0f : (time - keys[a]) / (keys[b] - keys[a]);
    } else {
        // Before the first key the pose runs from the last frame, taken as the cycle's start at time
        // 0, to the first frame; past the end a and b are both the last frame.
        w = keys[b] == 0.0f ? 1.0f : time / keys[b];
    }
}

void Mesh::computePose(float time, bool withNormals) {
    int a, b;
    float w;
    keyPair(time, a, b, w);
    const size_t perFrame = 3 * static_cast<size_t>(vertexCount_);
    const float* pa = &framePositions_[perFrame * a];
    const float* pb = &framePositions_[perFrame * b];
    for (size_t j = 0; j < perFrame; ++j) {
        currentPositions_[j] = (1.0f - w) * pa[j] + w * pb[j];
    }
    if (withNormals) {
        const float* na = &frameNormals_[perFrame * a];
        const float* nb = &frameNormals_[perFrame * b];
        for (size_t j = 0; j < perFrame; ++j) {
            currentNormals_[j] = (1.0f - w) * na[j] + w * nb[j];
        }
    }
}

void Mesh::showPose(float time) {
    if (displayList_ != 0) {
        glCallList(displayList_);
        if (cachedTime_ != 0.0f) {
            cachedTime_ = 0.0f;
            std::copy(framePositions_.begin(), framePositions_.begin() + 3 * vertexCount_,
                      currentPositions_.begin());
            std::copy(frameNormals_.begin(), frameNormals_.begin() + 3 * vertexCount_,
                      currentNormals_.begin());
        }
        return;
    }
    if (time != cachedTime_) {
        cachedTime_ = time;
        computePose(time, true);
    }
    drawArrays();
}

void Mesh::draw(float time) {
    if (frameCount_ == 0) {
        return;
    }
    const float held = std::clamp(time, frameTimes_[0], frameTimes_[frameCount_ - 1]);
    showPose(wrapIntoCycle(held));
}

void Mesh::drawLooped(float time) {
    if (frameCount_ == 0) {
        return;
    }
    showPose(wrapIntoCycle(time));
}

void Mesh::setTime(bool withNormals, float time) {
    if (frameCount_ == 0) {
        return;
    }
    computePose(time, withNormals);
    // Without normals the current pose is only half up to date, so the next draw must recompute it.
    cachedTime_ = withNormals ? time : std::numeric_limits<float>::lowest();
}

void Mesh::blendWith(float thisTime, float otherTime, const Mesh& other, float weight) {
    if (vertexCount_ == 0 || other.vertexCount_ != vertexCount_) {
        return;
    }
    int a, b, oa, ob;
    float w, ow;
    keyPair(wrapIntoCycle(thisTime), a, b, w);
    other.keyPair(other.wrapIntoCycle(otherTime), oa, ob, ow);
    const size_t perFrame = 3 * static_cast<size_t>(vertexCount_);
    const auto blend = [&](const std::vector<float>& mine, const std::vector<float>& theirs,
                           std::vector<float>& out) {
        const float* pa = &mine[perFrame * a];
        const float* pb = &mine[perFrame * b];
        const float* qa = &theirs[perFrame * oa];
        const float* qb = &theirs[perFrame * ob];
        for (size_t j = 0; j < perFrame; ++j) {
            const float own = (1.0f - w) * pa[j] + w * pb[j];
            const float others = (1.0f - ow) * qa[j] + ow * qb[j];
            out[j] = (1.0f - weight) * others + weight * own;
        }
    };
    blend(framePositions_, other.framePositions_, currentPositions_);
    blend(frameNormals_, other.frameNormals_, currentNormals_);
    cachedTime_ = std::numeric_limits<float>::lowest();
}

void Mesh::drawBlended(float thisTime, float otherTime, const Mesh& other, float weight) {
    if (vertexCount_ == 0 || other.vertexCount_ != vertexCount_) {
        return;
    }
    blendWith(thisTime, otherTime, other, weight);
    drawArrays();
}

void Mesh::drawArrays() const {
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, currentPositions_.data());
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, 0, currentNormals_.data());
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords_.data());
    // Blended keys shorten the normals; lighting needs them unit length again.
    glEnable(GL_NORMALIZE);
    glDrawArrays(GL_TRIANGLES, 0, vertexCount_);
    glDisable(GL_NORMALIZE);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

Vec3 vertexPosition(const Mesh& mesh, int index, float time) {
    if (index < 0 || index >= mesh.vertexCount_) {
        return Vec3();
    }
    int a, b;
    float w;
    mesh.keyPair(mesh.wrapIntoCycle(time), a, b, w);
    const size_t perFrame = 3 * static_cast<size_t>(mesh.vertexCount_);
    const float* pa = &mesh.framePositions_[perFrame * a + 3 * static_cast<size_t>(index)];
    const float* pb = &mesh.framePositions_[perFrame * b + 3 * static_cast<size_t>(index)];
    return Vec3((1.0f - w) * pa[0] + w * pb[0], (1.0f - w) * pa[1] + w * pb[1],
                (1.0f - w) * pa[2] + w * pb[2]);
}

Vec3 vertexPositionBlended(const Mesh& meshA, int index, float timeA, float timeB, const Mesh& meshB,
                           float weight) {
    Vec3 result = vertexPosition(meshB, index, timeB);
    result.scale(1.0f - weight);
    Vec3 own = vertexPosition(meshA, index, timeA);
    own.scale(weight);
    result.add(own);
    return result;
}
