# The two set-up commands of the README: `make run` and `make test`.
# Each installs the Debian packages the build needs (when missing), builds,
# and then starts the simulator or runs every test.

BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := cmake g++ make libgtest-dev libbenchmark-dev qt6-base-dev fonts-dejavu-core \
            libqcustomplot-dev libqcustomplot2.1-qt6

.PHONY: all deps build run test bench clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
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

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -x $(BUILD_DIR)/bin/keldo ]; then $(BUILD_DIR)/bin/keldo; \
	else $(BUILD_DIR)/bin/keldo-run --help; fi

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	bench/run.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
