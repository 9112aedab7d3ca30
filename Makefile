# taVok: the two everyday commands are `make run` and `make test`; both install what is missing first.
BUILD_DIR ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
# Warnings are errors in CI.
ifdef CI
CMAKE_FLAGS += -DTAVOK_WERROR=ON
endif

# Tests that need a window run under a private X server when there is no display. -noreset keeps the
# server up between clients; without it a test that connects just as another disconnects is refused.
XVFB_RUN = xvfb-run -a -s "-noreset -screen 0 1920x1080x24"
HEADLESS = $(if $(DISPLAY),,$(XVFB_RUN))

.PHONY: all deps configure build run test bench fuzz test-asan install clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR) && ./tavok $(ARGS)

test: build
	cd $(BUILD_DIR) && SDL_AUDIODRIVER=dummy $(HEADLESS) ctest --output-on-failure -j $(JOBS) --timeout 600

bench: deps
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVOK_TESTS=OFF > /dev/null
	@cmake --build build-bench -j $(JOBS)
	cd build-bench && SDL_AUDIODRIVER=dummy $(HEADLESS) bash ../bench/run.sh

test-asan: deps
	@cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVOK_SANITIZE=ON \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ $(CMAKE_FLAGS) > /dev/null
	@cmake --build build-asan -j $(JOBS)
	cd build-asan && SDL_AUDIODRIVER=dummy $(HEADLESS) bash ../scripts/sanitizer-env.sh ctest --output-on-failure -j $(JOBS) --timeout 900

fuzz: deps
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVOK_FUZZ=ON -DTAVOK_TESTS=OFF \
		-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ > /dev/null
	@cmake --build build-fuzz -j $(JOBS)
	cd build-fuzz && SDL_AUDIODRIVER=dummy $(HEADLESS) bash ../fuzz/run.sh $(FUZZ_SECONDS)

install: build
	cmake --install $(BUILD_DIR) $(if $(PREFIX),--prefix $(PREFIX),)

clean:
	rm -rf $(BUILD_DIR) build-bench build-asan build-fuzz
-include web/web.mk
