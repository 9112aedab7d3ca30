// The page's side of the browser edition, linked into the game's script: the canvas size, the start
// and end of the game, its resource files, the page's input readers before each pass, the print page
// download, the stored marker, and the music seek that the browser's SDL_mixer lacks.
mergeInto(LibraryManager.library, {
  tavok_canvas_width: function() {
    return Module['canvas'].width;
  },
  tavok_canvas_height: function() {
    return Module['canvas'].height;
  },

  // The window is open and the game waits for its resource files (web/loader.js starts it).
  tavok_display_ready: function() {
    if (Module['onDisplayReady']) Module['onDisplayReady']();
  },

  // The game runs: the page drops its loading screen, and gets a way to start the audio from a touch's
  // end or a click (some mobile browsers refuse it from a touch's start, where emscripten's SDL tries).
  tavok_page_started__deps: ['$SDL'],
  tavok_page_started: function() {
    Module['resumeAudio'] = function() {
      if (SDL.audioContext && SDL.audioContext.state === 'suspended') SDL.audioContext.resume();
    };
    if (Module['onGameStarted']) Module['onGameStarted']();
  },

  // The bytes of the resource file at path, from the bundle the loader opened (web/resource_bundle.js),
  // copied into a buffer from the game's allocator, which the game frees; 0 when the bundle has no such
  // file, or an empty one.
  tavok_bundled_file__deps: ['malloc'],
  tavok_bundled_file: function(path, lengthOut) {
    var files = Module['resourceFiles'];
    var bytes = files ? files.get(UTF8ToString(path)) : undefined;
    HEAPU32[lengthOut >> 2] = 0;
    if (!bytes || bytes.length === 0) return 0;
    var buffer = _malloc(bytes.length);
    if (!buffer) return 0;
    HEAPU8.set(bytes, buffer);
    HEAPU32[lengthOut >> 2] = bytes.length;
    return buffer;
  },

  // The game's first pass has drawn its first picture.
  tavok_first_frame_drawn: function() {
    if (Module['onFirstFrame']) Module['onFirstFrame']();
  },

  // Before each pass: the page's readers (touch controls, gamepad) hand on what changed.
  tavok_before_pass: function() {
    var readers = Module['beforePass'];
    if (!readers) return;
    for (var i = 0; i < readers.length; ++i) readers[i]();
  },

  tavok_game_ended: function(exitCode) {
    Module['exitCode'] = exitCode;
    if (Module['onGameEnded']) Module['onGameEnded'](exitCode);
  },

  tavok_offer_print_page: function(bytes, length) {
    var page = HEAPU8.slice(bytes, bytes + length);
    if (Module['offerPrintPage']) Module['offerPrintPage'](page);
  },

  // The marker the game just wrote goes into the persistent folder the page mounted (web/tavok_pre.js).
  tavok_store_marker__deps: ['$FS'],
  tavok_store_marker: function() {
    try {
      FS.writeFile('/persist/delete_me.html', FS.readFile('/delete_me.html'));
      FS.syncfs(false, function(error) {
        Module['markerStored'] = !error;
      });
    } catch (e) {
      Module['markerStored'] = false;
    }
  },

  // The browser's SDL keeps a placeholder at stream number 0, since 0 is the null stream; its own
  // SDL_FreeRW drops trailing free numbers including that placeholder, after which the next memory
  // stream gets number 0 and reads as a failure to the game. The same, keeping the placeholder.
  SDL_FreeRW__deps: ['$SDL'],
  SDL_FreeRW: function(rwopsID) {
    SDL.rwops[rwopsID] = null;
    while (SDL.rwops.length > 1 && SDL.rwops[SDL.rwops.length - 1] === null) {
      SDL.rwops.pop();
    }
  },

  // The game seeks to keep every music layer at the same point of one loop. The browser decodes a newly
  // loaded music in the background, so a seek can come before playback has begun; playback then starts
  // where the loop has got to by the time decoding is done, not where it was when the seek was asked.
  Mix_SetMusicPosition__deps: ['$SDL'],
  Mix_SetMusicPosition: function(position) {
    var audio = SDL.music.audio;
    if (!audio) return -1;
    // For measuring: where each seek asked the loop to be, and when.
    if (Module['musicSeekLog'] && SDL.audioContext) {
      Module['musicSeekLog'].push({position: position, at: SDL.audioContext['currentTime']});
    }
    if (audio.resource && audio.resource.webAudio) {
      var webAudio = audio.resource.webAudio;
      if (audio.webAudioNode) {
        SDL.pauseWebAudio(audio);
        audio.currentPosition = position;
        SDL.playWebAudio(audio);
      } else {
        audio.currentPosition = position;
        if (webAudio.onDecodeComplete && !audio.paused) {
          var askedAt = SDL.audioContext['currentTime'];
          webAudio.onDecodeComplete.unshift(function() {
            if (!audio.paused && !audio.webAudioNode) {
              var late = SDL.audioContext['currentTime'] - askedAt;
              audio.currentPosition = (position + late) % webAudio.decodedBuffer.duration;
            }
          });
        }
      }
      Module['musicSeeks'] = (Module['musicSeeks'] || 0) + 1;
      return 0;
    }
    if (audio.currentTime !== undefined) {
      audio.currentTime = position;
      return 0;
    }
    return -1;
  },

  // A layer switch halts the old music and loads the new one, which the browser then decodes in the
  // background for a few hundred milliseconds. Stopping the old layer at once would leave that time
  // silent, so a halted layer that was sounding keeps on until the music after it has started (at the
  // loop point the game asked for, both layers being one loop), or for at most kHoldSeconds. It stops
  // at once when the turn that halted it leaves no music meant to be heard: a plain halt, a pause, or a
  // rewind to a paused start.
  $TavokMusic__deps: ['$SDL'],
  $TavokMusic: {
    kHoldSeconds: 1.0,
    held: null,
    holdTimer: 0,
    settleQueued: false,
    // Why the last held layer stopped, for the tests and for measuring.
    lastRelease: '',

    release: function(reason) {
      var held = TavokMusic.held;
      if (!held) return;
      TavokMusic.held = null;
      clearTimeout(TavokMusic.holdTimer);
      TavokMusic.lastRelease = reason;
      SDL.pauseWebAudio(held);
    },

    hold: function(audio) {
      TavokMusic.release('replaced');
      TavokMusic.held = audio;
      TavokMusic.holdTimer = setTimeout(function() { TavokMusic.release('held too long'); },
                                        TavokMusic.kHoldSeconds * 1000);
      TavokMusic.queueSettle();
    },

    // Runs once the game's pass has made all its music calls.
    queueSettle: function() {
      if (TavokMusic.settleQueued) return;
      TavokMusic.settleQueued = true;
      Promise.resolve().then(function() {
        TavokMusic.settleQueued = false;
        TavokMusic.settle();
      });
    },

    settle: function() {
      if (!TavokMusic.held) return;
      var audio = SDL.music.audio;
      if (!audio || audio.paused) {
        TavokMusic.release(audio ? 'paused' : 'halted');
      } else if (audio.webAudioNode) {
        TavokMusic.release('started');
      } else if (audio.resource && audio.resource.webAudio && audio.resource.webAudio.onDecodeComplete) {
        // Last in line, so it runs after the new music's own start.
        audio.resource.webAudio.onDecodeComplete.push(TavokMusic.settle);
      } else {
        TavokMusic.release('cannot start');
      }
    },
  },

  // As the browser's SDL_mixer halts, but a sounding Web Audio layer is held as above.
  Mix_HaltMusic__deps: ['$SDL', '$TavokMusic'],
  Mix_HaltMusic: function() {
    var audio = SDL.music.audio;
    if (audio) {
      if (audio.webAudioNode && !audio.paused) {
        TavokMusic.hold(audio);
      } else {
        if (audio.src !== undefined) audio.src = audio.src;
        audio.currentPosition = 0;
        audio.pause();
      }
    }
    SDL.music.audio = null;
    TavokMusic.queueSettle();
    if (SDL.hookMusicFinished) {
      {{{ makeDynCall('v', 'SDL.hookMusicFinished') }}}();
    }
    return 0;
  },

  // A pause must not leave a held layer sounding.
  Mix_PauseMusic__deps: ['$SDL', '$TavokMusic'],
  Mix_PauseMusic: function() {
    var audio = SDL.music.audio;
    if (audio) audio.pause();
    TavokMusic.queueSettle();
  },

  // For the browser tests and for measuring: what the music is doing now.
  tavok_install_probes__deps: ['$SDL', '$TavokMusic'],
  tavok_install_probes: function() {
    Module['musicState'] = function() {
      var audio = SDL.music.audio;
      var context = SDL.audioContext;
      var state = {context: context ? context.state : 'none', time: context ? context['currentTime'] : 0,
                   loaded: !!audio};
      if (audio && audio.resource && audio.resource.webAudio) {
        var webAudio = audio.resource.webAudio;
        state.decoded = !!webAudio.decodedBuffer;
        state.duration = webAudio.decodedBuffer ? webAudio.decodedBuffer.duration : 0;
        state.sounding = !!audio.webAudioNode;
        state.paused = !!audio.paused;
        state.loop = !!audio.loop;
        state.volume = audio.volume;
        state.position = audio.webAudioNode
            ? (context['currentTime'] - audio.startTime) % state.duration
            : audio.currentPosition;
      }
      state.held = !!(TavokMusic.held && TavokMusic.held.webAudioNode);
      state.lastRelease = TavokMusic.lastRelease;
      return state;
    };
  },
});
