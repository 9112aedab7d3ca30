// Resources by number, through the one ResourceManager and MusicPlayer.
//
// Before the services exist (or after they are gone) nothing can be loaded: the functions then hand out
// a file-local empty object of the kind, which stays valid for the whole run, and report a number that
// was asked for exactly as a file that failed to load. Giving such an object back to a manager that
// appears later is harmless: the manager never handed it out, so it only sets its failure flag.
#include "resources/resource_access.h"

#include "app/fatal.h"
#include "app/services.h"
#include "audio/music_player.h"
#include "audio/sound.h"
#include "render/mesh.h"
#include "render/texture.h"
#include "resources/resource_file.h"
#include "resources/resource_manager.h"

namespace {
int selectedMusic = -1;

template <typename T> T* emptyObject() {
    static T empty;
    return &empty;
}

// The by-number road shared by the three kinds: acquire by name, and report a failed load.
template <typename T> T* byNumber(int number, T* (ResourceManager::*acquire)(const char*)) {
    if (theResourceManager == nullptr) {
        if (number >= 0) {
            reportFatal(kFatalResource, resourceName(number));
        }
        return emptyObject<T>();
    }
    if (number < 0) {
        return (theResourceManager->*acquire)("");
    }
    const std::string name = resourceName(number);
    T* object = (theResourceManager->*acquire)(name.c_str());
    if (theResourceManager->lastOperationFailed()) {
        reportFatal(kFatalResource, name);
    }
    return object;
}

template <typename T> T* share(T* object, T* (ResourceManager::*addReference)(T*), const char* kind) {
    T* shared =
        theResourceManager != nullptr ? (theResourceManager->*addReference)(object) : emptyObject<T>();
    if (theResourceManager == nullptr || theResourceManager->lastOperationFailed()) {
        reportFatal(kFatalDescribed, std::string("could not find resource object:\n") + kind);
    }
    return shared;
}
} // namespace

Texture* textureByNumber(int number) {
    return byNumber<Texture>(number, &ResourceManager::acquireTexture);
}

Mesh* meshByNumber(int number) {
    return byNumber<Mesh>(number, &ResourceManager::acquireMesh);
}

Sound* soundByNumber(int number) {
    return byNumber<Sound>(number, &ResourceManager::acquireSound);
}

void selectMusic(int number) {
    if (number == selectedMusic) {
        return;
    }
    // Remembered before loading, so a track that failed is not tried again by the next call.
    selectedMusic = number;
    if (number < 0) {
        if (theMusicPlayer != nullptr) {
            theMusicPlayer->loadMusic("");
        }
        return;
    }
    const std::string path = resourcePath(number);
    if (theMusicPlayer != nullptr && theMusicPlayer->loadMusic(path)) {
        theMusicPlayer->resumeMusic();
    } else {
        reportFatal(kFatalResource, path);
    }
}

int currentMusicNumber() {
    return selectedMusic;
}

void resetMusicSelection() {
    selectedMusic = -1;
}

void playSoundOnce(int number, float volume) {
    Sound* sound = soundByNumber(number);
    sound->playSound(volume);
    if (theResourceManager != nullptr) {
        theResourceManager->releaseSound(sound);
    }
}

Texture* shareTexture(Texture* texture) {
    return share<Texture>(texture, &ResourceManager::addTextureReference, "texture");
}

Mesh* shareMesh(Mesh* mesh) {
    return share<Mesh>(mesh, &ResourceManager::addMeshReference, "mesh");
}

Sound* shareSound(Sound* sound) {
    return share<Sound>(sound, &ResourceManager::addSoundReference, "sound");
}
