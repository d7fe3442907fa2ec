# Entry points for a fresh Debian 12 machine: each target installs what is
# missing, configures and builds before it runs.
BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES := cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release -DORVANTIS_WERROR=ON

.PHONY: all deps configure build test demo bench clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "installing:$$missing"; \
	  $(SUDO) apt-get update -q && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Converts the bundled example drawing into out/ and shows the log.
demo: build
	@mkdir -p out
	$(BUILD)/orvantis-cli convert --dest out examples/*.jww

bench: deps
	cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANTIS_TESTS=OFF -DORVANTIS_BENCH=ON
	cmake --build $(BUILD)-bench -j $(JOBS)
	bench/run.sh $(BUILD)-bench

clean:
	rm -rf $(BUILD) $(BUILD)-bench out
