# The two set-up commands of the README: `make run` and `make test`.
# Each installs the Debian packages the build needs (when missing), builds,
# and then starts the simulator or runs every test. `make package` builds the
# Debian package; `make test-package` installs it into this machine, tries the
# installed programs and removes it again.

BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := cmake g++ make libgtest-dev libbenchmark-dev qt6-base-dev fonts-dejavu-core \
            libqcustomplot-dev libqcustomplot2.1-qt6 librsvg2-bin appstream desktop-file-utils \
            poppler-utils
# The window tests run openbox on a virtual screen and read the frames with xprop/xwininfo.
TEST_PACKAGES := xvfb openbox x11-utils
# What the package test uses to look at the installed file type.
PACKAGE_TEST_PACKAGES := xdg-utils libfile-mimeinfo-perl shared-mime-info
# Only the sanitizer build needs clang and its runtime libraries.
SAN_DIR ?= build-san
SAN_PACKAGES := clang libclang-rt-14-dev llvm
# A one-node Slurm cluster for `make test-cluster`.
CLUSTER_PACKAGES := slurm-wlm munge

.PHONY: all deps configure build run test package test-package test-sanitize test-cluster \
        test-warnings check-format bench clean web serve-web test-web bench-web

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES) $(EXTRA_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = "0" ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y $$missing; \
	  else \
	    echo "Missing packages:$$missing"; \
	    echo "Run: sudo apt-get update && sudo apt-get install -y$$missing"; \
	    exit 1; \
	  fi; \
	fi

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Only the simulator and the help program it starts; the tests, fuzzers and
# benchmarks wait for `make test`.
run: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target keldo KeldoHP
	$(BUILD_DIR)/bin/keldo

test: build
	$(MAKE) deps EXTRA_PACKAGES="$(TEST_PACKAGES)"
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

package: build
	cd $(BUILD_DIR) && cpack

test-package: package
	$(MAKE) deps EXTRA_PACKAGES="$(PACKAGE_TEST_PACKAGES)"
	tools/testar-pacote.sh $(BUILD_DIR)

# The core, keldo-run and every test built with AddressSanitizer and
# UndefinedBehaviorSanitizer; the first report of either fails the test.
test-sanitize:
	$(MAKE) deps EXTRA_PACKAGES="$(SAN_PACKAGES)"
	cmake -S . -B $(SAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DKELDO_SANITIZE=ON -DKELDO_GUI=OFF -DKELDO_BENCH=OFF
	cmake --build $(SAN_DIR) -j $(JOBS)
	cd $(SAN_DIR) && ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# A job array of one experiment on a one-node Slurm cluster started here (as
# root), merged and compared byte for byte with the same experiment on one machine.
test-cluster: configure
	$(MAKE) deps EXTRA_PACKAGES="$(CLUSTER_PACKAGES)"
	cmake --build $(BUILD_DIR) -j $(JOBS) --target keldo-run
	timeout 180 tools/testar-cluster.sh $(BUILD_DIR)

# Every program, test and benchmark built again with GCC's warnings as errors,
# -Wshadow included (nothing is run: `make test` runs the tests).
WERROR_DIR ?= build-werror
test-warnings: deps
	cmake -S . -B $(WERROR_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ \
	  -DCMAKE_CXX_FLAGS="-Wall -Wextra -Wshadow -Werror"
	cmake --build $(WERROR_DIR) -j $(JOBS)

# Every C++ file of the repository as clang-format (.clang-format) writes it.
check-format:
	$(MAKE) deps EXTRA_PACKAGES=clang-format
	git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

bench: build
	bench/run.sh $(BUILD_DIR)

# The web edition: the core as WebAssembly (Debian's Emscripten) and the page,
# as static files in $(WEB_DIR). uPlot and puppeteer-core come from npm at the
# versions of web/package-lock.json.
WEB_BUILD_DIR ?= build-wasm
WEB_DIR ?= build-web
WEB_PACKAGES := emscripten node-acorn python3
WEB_TEST_PACKAGES := chromium
WEB_PORT ?= 8000
# Debian's Emscripten needs its acorn from Debian's node modules, where a node
# not from Debian does not look.
export NODE_PATH := /usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))

web:
	$(MAKE) deps PACKAGES="$(WEB_PACKAGES)"
	[ web/node_modules/.package-lock.json -nt web/package-lock.json ] || (cd web && npm ci --no-audit --no-fund)
	emcmake cmake -S . -B $(WEB_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WEB_BUILD_DIR) -j $(JOBS) --target keldo_web
	web/montar-site.sh $(WEB_BUILD_DIR) $(WEB_DIR)

serve-web: web
	cd $(WEB_DIR) && python3 -m http.server --bind 127.0.0.1 $(WEB_PORT)

# The browser test (ctest's WebMesmosBytes) against keldo-run of the native build.
test-web: web configure
	$(MAKE) deps PACKAGES="$(WEB_TEST_PACKAGES)"
	cmake --build $(BUILD_DIR) -j $(JOBS) --target keldo-run
	cd $(BUILD_DIR) && ctest -R '^WebMesmosBytes$$' --output-on-failure

bench-web: web configure
	$(MAKE) deps PACKAGES="$(WEB_TEST_PACKAGES)"
	cmake --build $(BUILD_DIR) -j $(JOBS) --target keldo-run
	node bench/web.mjs $(WEB_DIR) $(BUILD_DIR)/bin/keldo-run

clean:
	rm -rf $(BUILD_DIR) $(WEB_BUILD_DIR) $(WEB_DIR) $(WEB_DIR)-capturas
