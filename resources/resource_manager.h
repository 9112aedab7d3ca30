// ResourceManager: the one owner of every texture, mesh and sound loaded from resource files. It hands
// out one shared object per name, counts references per name, and destroys objects only on a purge of
// those whose count is exactly 0, or at its own destruction. It never reports to the player.
#pragma once

#include <map>
#include <string>

class Texture;
class Mesh;
class Sound;
class PicturePrefetch;

class ResourceManager {
public:
    ResourceManager() = default;
    ~ResourceManager();
    ResourceManager(const ResourceManager&) = delete;
    ResourceManager& operator=(const ResourceManager&) = delete;

    // The shared object cached under "res/" + name (never null). A failed load still caches an empty
    // object and sets the failure flag; later acquires of that name return it without a new attempt.
    Texture* acquireTexture(const char* name);
    Mesh* acquireMesh(const char* name);
    Sound* acquireSound(const char* name);

    // One more reference on an object handed out earlier; an unknown pointer gets the shared empty
    // object instead, with the flag set.
    Texture* addTextureReference(Texture* texture);
    Mesh* addMeshReference(Mesh* mesh);
    Sound* addSoundReference(Sound* sound);

    // Gives a reference back. The object stays cached at count 0 until a purge; releasing at 0 or
    // below pins it for the rest of the run.
    void releaseTexture(Texture* texture);
    void releaseMesh(Mesh* mesh);
    void releaseSound(Sound* sound);

    // Destroys every object whose count is exactly 0.
    void purgeUnused();

    bool lastOperationFailed() const { return failed_; }

    // Textures loaded from here on take their pictures from pictures when it has them decoded (null:
    // every texture decodes its own). The manager does not own it.
    void setPicturePrefetch(PicturePrefetch* pictures) { pictures_ = pictures; }

    // Reference count of the object cached under a path such as "res/12.dat"; 0 when absent. For tests
    // and diagnostics.
    int textureCount(const std::string& path) const;
    int meshCount(const std::string& path) const;
    int soundCount(const std::string& path) const;
    bool holdsTexture(const std::string& path) const;

private:
    std::map<Mesh*, std::string*> meshNames_;
    std::map<std::string, Mesh*> meshes_;
    std::map<std::string, int> meshRefs_;
    std::map<Texture*, std::string*> textureNames_;
    std::map<std::string, Texture*> textures_;
    std::map<std::string, int> textureRefs_;
    std::map<Sound*, std::string*> soundNames_;
    std::map<std::string, Sound*> sounds_;
    std::map<std::string, int> soundRefs_;
    bool failed_ = false;
    PicturePrefetch* pictures_ = nullptr;
};
