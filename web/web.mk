# The browser edition: `make web` builds the page folder, `make web-run` serves it on 127.0.0.1,
# `make web-dist` packs it for a static host, `make test-web` builds it and runs the browser tests in
# headless Chromium and Firefox, `make bench-web` measures the page's frame time, its full-swarm frame
# against a bare WebGL page, its music layer switches and its load (from the zip, as a host serves it)
# in Chromium.
WEB_BUILD_DIR ?= build-web
WEB_PORT ?= 8723
# Debian's emscripten finds its JavaScript parser only on the system's module path.
WEB_ENV = NODE_PATH=/usr/share/nodejs

.PHONY: web-deps web web-run web-dist test-web bench-web

web-deps:
	@bash scripts/install-web-deps.sh

web: web-deps configure
	@cmake --build $(BUILD_DIR) --target assets
	@$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DTAVOK_RES_DIR=$(abspath $(BUILD_DIR))/res $(CMAKE_FLAGS) > /dev/null
	@$(WEB_ENV) cmake --build $(WEB_BUILD_DIR) -j $(JOBS)
	@echo "the page: $(WEB_BUILD_DIR)/page/tavok.html"

web-run: web
	node web/serve.mjs $(WEB_BUILD_DIR)/page $(WEB_PORT)

web-dist: web
	@bash web/make-dist.sh $(WEB_BUILD_DIR)/page $(WEB_BUILD_DIR)/tavok-web.zip

test-web: web build
	cd $(BUILD_DIR) && $(if $(filter-out false,$(CI)),TAVOK_WEB_TOOLS_REQUIRED=1) \
		ctest -R '^web\.' --output-on-failure --timeout 1800

bench-web: web-dist
	node bench/web/frame_time.mjs $(WEB_BUILD_DIR)/test-page
	node bench/web/swarm_page.mjs $(WEB_BUILD_DIR)/test-page
	node bench/web/music_layers.mjs $(WEB_BUILD_DIR)/test-page
	@rm -rf $(WEB_BUILD_DIR)/dist && mkdir -p $(WEB_BUILD_DIR)/dist
	@cd $(WEB_BUILD_DIR)/dist && cmake -E tar xf ../tavok-web.zip
	node bench/web/load_time.mjs $(WEB_BUILD_DIR)/dist/tavok
