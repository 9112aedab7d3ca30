# The browser edition: the same subsystem folders compiled by emscripten into one page. Included by the
# top-level CMakeLists.txt when the emscripten toolchain file is in use; the desktop build never reads it.
#
# What differs from the desktop sits in a few files: web/main_web.cpp (one pass of the main loop per
# browser frame), web/page_input.cpp (touch, pads, a hidden page and the canvas size), web/*.js (the
# page's side of audio, storage and the download, and the page around the game), web/shell.html.
# The resource files are packed separately (web/pack_res.mjs), so a page can be given another res/.

# The game's sources (TAVOK_SOURCES) and warning flags come from the top-level CMakeLists.txt.
add_library(tavok_engine STATIC ${TAVOK_SOURCES})
target_include_directories(tavok_engine PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(tavok_engine PUBLIC -include ${CMAKE_SOURCE_DIR}/web/sdl_web.h)

# SDL 1.2, SDL_image, SDL_mixer and the fixed-function GL are emscripten's own emulations. Images from
# memory decode through stb_image (the browser's own decoders work only on files preloaded by name). The
# page makes the WebGL context itself while the files download, and the game's SDL takes that one
# (GL_PREINITIALIZED_CONTEXT, web/loader.js).
set(TAVOK_WEB_LINK_FLAGS
    -sLEGACY_GL_EMULATION=1 -sGL_UNSAFE_OPTS=0 -sGL_PREINITIALIZED_CONTEXT=1 -sSTB_IMAGE=1 -sALLOW_MEMORY_GROWTH=1 -sMINIFY_HTML=0
    -sFORCE_FILESYSTEM=1 -lidbfs.js -sEXIT_RUNTIME=0
    "-sEXPORTED_RUNTIME_METHODS=['FS','IDBFS','callMain','UTF8ToString']"
    # The browser's image loader calls the decoder through the module's exports.
    "-sEXPORTED_FUNCTIONS=['_main','_malloc','_free','_stbi_load_from_memory','_stbi_image_free']"
    --js-library ${CMAKE_SOURCE_DIR}/web/tavok_library.js
    --pre-js ${CMAKE_SOURCE_DIR}/web/tavok_pre.js)

function(tavok_page target)
    add_executable(${target} ${CMAKE_SOURCE_DIR}/web/main_web.cpp ${CMAKE_SOURCE_DIR}/web/page_files.cpp
                           ${CMAKE_SOURCE_DIR}/web/page_input.cpp ${CMAKE_SOURCE_DIR}/web/gl_shims.cpp
                           ${CMAKE_SOURCE_DIR}/web/gl_warm_up.cpp ${ARGN})
    target_link_libraries(${target} PRIVATE tavok_engine)
    target_link_options(${target} PRIVATE ${TAVOK_WEB_LINK_FLAGS})
    set_target_properties(${target} PROPERTIES SUFFIX ".js"
        LINK_DEPENDS "${CMAKE_SOURCE_DIR}/web/tavok_library.js;${CMAKE_SOURCE_DIR}/web/tavok_pre.js")
endfunction()

# The page players get.
tavok_page(tavok)

# The page the browser tests and measurements drive: the same game with the scripted player of the
# desktop tests, which takes the keyboard only when the page's address asks for it (?autoplay), and the
# benchmarks' world set-ups (?lit, ?swarms).
tavok_page(tavok_autoplay ${CMAKE_SOURCE_DIR}/tests/game/scripted_player.cpp
           ${CMAKE_SOURCE_DIR}/bench/system/world_rig.cpp)
target_compile_definitions(tavok_autoplay PRIVATE TAVOK_WEB_AUTOPLAY=1)

# Each page lives in a folder of its own that any static server can serve as it is.
set(TAVOK_PAGE_DIR ${CMAKE_BINARY_DIR}/page)
set(TAVOK_TEST_PAGE_DIR ${CMAKE_BINARY_DIR}/test-page)
set_target_properties(tavok PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAVOK_PAGE_DIR})
set_target_properties(tavok_autoplay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAVOK_TEST_PAGE_DIR}
                      OUTPUT_NAME tavok)
configure_file(${CMAKE_SOURCE_DIR}/web/shell.html ${TAVOK_PAGE_DIR}/tavok.html COPYONLY)
configure_file(${CMAKE_SOURCE_DIR}/web/shell.html ${TAVOK_TEST_PAGE_DIR}/tavok.html COPYONLY)
# The page around the game: its stylesheet, the loader and the page's input, one file per job.
foreach(page_file page.css loader.js resource_bundle.js canvas_fit.js touch_controls.js gamepad_reader.js
                  page_life.js)
    configure_file(${CMAKE_SOURCE_DIR}/web/${page_file} ${TAVOK_PAGE_DIR}/${page_file} COPYONLY)
    configure_file(${CMAKE_SOURCE_DIR}/web/${page_file} ${TAVOK_TEST_PAGE_DIR}/${page_file} COPYONLY)
endforeach()

# res/ comes from the desktop build's generator (a native program), packed into one bundle that the page
# hands the game its files from, by the paths it asks for in its working directory on the desktop.
set(TAVOK_RES_DIR "" CACHE PATH "The generated res/ folder to pack into the page")
if(NOT IS_DIRECTORY "${TAVOK_RES_DIR}")
    message(FATAL_ERROR "TAVOK_RES_DIR must name the generated res/ folder (make web sets it)")
endif()
find_program(TAVOK_NODE node REQUIRED)
file(GLOB TAVOK_RES_FILES ${TAVOK_RES_DIR}/*)
add_custom_command(
    OUTPUT ${TAVOK_PAGE_DIR}/tavok-res.data
    COMMAND ${TAVOK_NODE} ${CMAKE_SOURCE_DIR}/web/pack_res.mjs ${TAVOK_RES_DIR} ${TAVOK_PAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${TAVOK_PAGE_DIR}/tavok-res.data ${TAVOK_TEST_PAGE_DIR}
    DEPENDS ${TAVOK_RES_FILES} ${CMAKE_SOURCE_DIR}/web/pack_res.mjs
    COMMENT "Packing res/ for the page"
    VERBATIM)
add_custom_target(web_res ALL DEPENDS ${TAVOK_PAGE_DIR}/tavok-res.data)

# Offline and installable (the page folder only; the test page stays a plain page): the manifest, the
# 192- and 512-pixel icons drawn by the desktop build's generator, the worker's registration, and last
# the worker itself, stamped with the version of everything else in the folder. The stamp runs on
# every build (it takes a moment) so that whatever lands in the folder is in the worker's list.
set(TAVOK_WEB_ICON_DIR "${TAVOK_RES_DIR}/../web-icons" CACHE PATH "The generated 192/512-pixel icons")
configure_file(${CMAKE_SOURCE_DIR}/web/manifest.webmanifest ${TAVOK_PAGE_DIR}/tavok.webmanifest COPYONLY)
configure_file(${CMAKE_SOURCE_DIR}/web/offline.js ${TAVOK_PAGE_DIR}/tavok-offline.js COPYONLY)
add_custom_target(web_offline ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TAVOK_WEB_ICON_DIR}/icon-192.png
            ${TAVOK_WEB_ICON_DIR}/icon-512.png ${TAVOK_PAGE_DIR}
    COMMAND ${TAVOK_NODE} ${CMAKE_SOURCE_DIR}/web/stamp_page.mjs ${TAVOK_PAGE_DIR}
    VERBATIM)
add_dependencies(web_offline tavok web_res)
