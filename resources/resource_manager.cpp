// The resource cache. The three kinds share one set of templates; the per-kind parts are how an object
// is loaded, and the order in which the kinds are purged and destroyed (meshes, textures, sounds).
#include "resources/resource_manager.h"

#include "audio/sound.h"
#include "render/mesh.h"
#include "render/texture.h"

namespace {
const std::string kResourceDirectory = "res/";

// Only textures have pictures decoded ahead.
bool loadObject(Texture* texture, const std::string& path, PicturePrefetch* pictures) {
    return texture->load(path, pictures);
}
bool loadObject(Mesh* mesh, const std::string& path, PicturePrefetch*) {
    return mesh->load(path);
}
bool loadObject(Sound* sound, const std::string& path, PicturePrefetch*) {
    return sound->loadSound(path);
}

template <typename T> struct Cache {
    std::map<T*, std::string*>& names;
    std::map<std::string, T*>& objects;
    std::map<std::string, int>& refs;
};

template <typename T>
T* acquire(Cache<T> cache, const char* name, bool* failed, PicturePrefetch* pictures = nullptr) {
    const std::string path = (name == nullptr || name[0] == '\0') ? std::string() : kResourceDirectory + name;
    T*& slot = cache.objects[path];
    if (slot != nullptr) {
        *failed = false;
        int& count = cache.refs[path];
        if (count >= 0) {
            ++count;
        }
        return slot;
    }
    T* object = new T();
    *failed = !loadObject(object, path, pictures);
    slot = object;
    cache.names[object] = new std::string(path);
    cache.refs[path] = 1;
    return object;
}

template <typename T> T* addReference(Cache<T> cache, T* object, bool* failed) {
    std::string*& name = cache.names[object];
    if (name == nullptr) {
        T* empty = acquire(cache, "", failed);
        *failed = true;
        return empty;
    }
    const std::string stripped = name->substr(std::min<size_t>(kResourceDirectory.size(), name->size()));
    return acquire(cache, stripped.c_str(), failed);
}

template <typename T> void release(Cache<T> cache, T* object, bool* failed) {
    std::string* name = cache.names[object];
    if (name == nullptr) {
        *failed = true;
        return;
    }
    int& count = cache.refs[*name];
    if (count > 0) {
        --count;
        *failed = false;
        return;
    }
    count = -1;
    *failed = true;
}

template <typename T> void purge(Cache<T> cache) {
    for (auto it = cache.refs.begin(); it != cache.refs.end();) {
        if (it->second != 0) {
            ++it;
            continue;
        }
        const auto found = cache.objects.find(it->first);
        if (found != cache.objects.end()) {
            T* object = found->second;
            const auto named = cache.names.find(object);
            if (named != cache.names.end()) {
                delete named->second;
                cache.names.erase(named);
            }
            delete object;
            cache.objects.erase(found);
        }
        it = cache.refs.erase(it);
    }
}

template <typename T> void destroyAll(Cache<T> cache) {
    for (auto& entry : cache.objects) {
        delete entry.second;
        entry.second = nullptr;
    }
    for (auto& entry : cache.names) {
        delete entry.second;
        entry.second = nullptr;
    }
}

int countOf(const std::map<std::string, int>& refs, const std::string& path) {
    const auto found = refs.find(path);
    return found == refs.end() ? 0 : found->second;
}
} // namespace

ResourceManager::~ResourceManager() {
    destroyAll(Cache<Mesh>{meshNames_, meshes_, meshRefs_});
    destroyAll(Cache<Texture>{textureNames_, textures_, textureRefs_});
    destroyAll(Cache<Sound>{soundNames_, sounds_, soundRefs_});
}

Texture* ResourceManager::acquireTexture(const char* name) {
    return acquire(Cache<Texture>{textureNames_, textures_, textureRefs_}, name, &failed_, pictures_);
}

Mesh* ResourceManager::acquireMesh(const char* name) {
    return acquire(Cache<Mesh>{meshNames_, meshes_, meshRefs_}, name, &failed_);
}

Sound* ResourceManager::acquireSound(const char* name) {
    return acquire(Cache<Sound>{soundNames_, sounds_, soundRefs_}, name, &failed_);
}

Texture* ResourceManager::addTextureReference(Texture* texture) {
    return addReference(Cache<Texture>{textureNames_, textures_, textureRefs_}, texture, &failed_);
}

Mesh* ResourceManager::addMeshReference(Mesh* mesh) {
    return addReference(Cache<Mesh>{meshNames_, meshes_, meshRefs_}, mesh, &failed_);
}

Sound* ResourceManager::addSoundReference(Sound* sound) {
    return addReference(Cache<Sound>{soundNames_, sounds_, soundRefs_}, sound, &failed_);
}

void ResourceManager::releaseTexture(Texture* texture) {
    release(Cache<Texture>{textureNames_, textures_, textureRefs_}, texture, &failed_);
}

void ResourceManager::releaseMesh(Mesh* mesh) {
    release(Cache<Mesh>{meshNames_, meshes_, meshRefs_}, mesh, &failed_);
}

void ResourceManager::releaseSound(Sound* sound) {
    release(Cache<Sound>{soundNames_, sounds_, soundRefs_}, sound, &failed_);
}

void ResourceManager::purgeUnused() {
    purge(Cache<Mesh>{meshNames_, meshes_, meshRefs_});
    purge(Cache<Texture>{textureNames_, textures_, textureRefs_});
    purge(Cache<Sound>{soundNames_, sounds_, soundRefs_});
    failed_ = false;
}

int ResourceManager::textureCount(const std::string& path) const {
    return countOf(textureRefs_, path);
}
int ResourceManager::meshCount(const std::string& path) const {
    return countOf(meshRefs_, path);
}
int ResourceManager::soundCount(const std::string& path) const {
    return countOf(soundRefs_, path);
}

bool ResourceManager::holdsTexture(const std::string& path) const {
    const auto found = textures_.find(path);
    return found != textures_.end() && found->second != nullptr;
}
