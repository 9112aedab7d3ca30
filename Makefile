# taVok: the two everyday commands are `make run` and `make test`; both install what is missing first.
# `make run` installs and builds only what the game needs to start; the targets that test, measure or
# package install their own tools (scripts/install-deps.sh GROUP).
BUILD_DIR ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
# Warnings are errors in CI.
ifdef CI
CMAKE_FLAGS += -DTAVOK_WERROR=ON
endif

# Every target that opens windows runs under an X server of its own, whatever DISPLAY says: the tests
# switch display modes and type keys, which must never reach a real desktop.
HEADLESS = bash $(abspath scripts/headless.sh)
DEPS = bash scripts/install-deps.sh
# The game, its data generator and res/: all that `make run` builds.
GAME_TARGETS = tavok assets

.PHONY: all deps configure configure-run build run test test-compat bench fuzz test-asan package package-test \
	package-repro install clean

all: build

deps:
	@$(DEPS) test

# A folder configured before keeps its choice of tests; a new one for `make run` starts without them,
# so the first start needs neither GoogleTest nor the test binaries.
configure-run:
	@$(DEPS) run
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(if $(wildcard $(BUILD_DIR)/CMakeCache.txt),,-DTAVOK_TESTS=OFF) \
		$(CMAKE_FLAGS)

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DTAVOK_TESTS=ON $(CMAKE_FLAGS)

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: configure-run
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target $(GAME_TARGETS)
	cd $(BUILD_DIR) && ./tavok $(ARGS)

# The package test needs the packaging tools; without them it would only be skipped.
test: build
	@$(DEPS) test package
	cd $(BUILD_DIR) && SDL_AUDIODRIVER=dummy $(HEADLESS) ctest --output-on-failure -j $(JOBS) --timeout 600

# The tests that open windows, read keys or open audio (label sdl) again on sdl12-compat, the SDL 1.2 of
# Debian 13 and current Ubuntu (SDL 1.2 on SDL2), which installs beside classic SDL 1.2 in a folder of
# its own. The game must load it from there, or the run would only repeat `make test`.
SDL12_COMPAT_DIR = /usr/lib/$(shell dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)/sdl12-compat
test-compat: build
	@$(DEPS) compat
	@LD_LIBRARY_PATH=$(SDL12_COMPAT_DIR) ldd $(BUILD_DIR)/tavok | grep -q '$(SDL12_COMPAT_DIR)/libSDL-1.2' || \
		{ echo "test-compat: the game does not load SDL 1.2 from $(SDL12_COMPAT_DIR)"; exit 1; }
	cd $(BUILD_DIR) && LD_LIBRARY_PATH=$(SDL12_COMPAT_DIR) SDL_AUDIODRIVER=dummy $(HEADLESS) \
		ctest -L sdl --output-on-failure -j $(JOBS) --timeout 600

bench:
	@$(DEPS) bench
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVOK_TESTS=OFF
	@cmake --build build-bench -j $(JOBS)
	cd build-bench && SDL_AUDIODRIVER=dummy $(HEADLESS) bash ../bench/run.sh

test-asan:
	@$(DEPS) asan
	@cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVOK_SANITIZE=ON -DTAVOK_TESTS=ON \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ $(CMAKE_FLAGS)
	@cmake --build build-asan -j $(JOBS)
	cd build-asan && SDL_AUDIODRIVER=dummy $(HEADLESS) bash ../scripts/sanitizer-env.sh \
		ctest --output-on-failure -j $(JOBS) --timeout 900

fuzz:
	@$(DEPS) fuzz
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVOK_FUZZ=ON -DTAVOK_TESTS=OFF \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	@cmake --build build-fuzz -j $(JOBS)
	cd build-fuzz && SDL_AUDIODRIVER=dummy $(HEADLESS) bash ../fuzz/run.sh $(FUZZ_SECONDS)

# The Debian package from a copy of the sources, built in Release without the tests and checked with
# lintian, appstreamcli and desktop-file-validate: build-package/tavok_*.deb.
package:
	@$(DEPS) package
	bash scripts/build-package.sh build-package --check

# Debian's own tests of the package (debian/tests) with autopkgtest, against the package `make package`
# just built, in a throwaway Debian 13 root (sdl12-compat as its SDL 1.2) kept in build-package/pkgtest.
package-test: package
	@$(DEPS) pkgtest
	bash scripts/package-test.sh build-package

# The package built twice from two clean copies of the sources and compared byte for byte.
package-repro:
	@$(DEPS) repro
	bash scripts/package-repro.sh build-package/repro

install: configure-run
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target $(GAME_TARGETS)
	cmake --install $(BUILD_DIR) $(if $(PREFIX),--prefix $(PREFIX),)

clean:
	rm -rf $(BUILD_DIR) build-bench build-asan build-fuzz build-package build-web

-include web/web.mk
