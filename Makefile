# The commands of the README: `make demo`, `make play` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps demo-deps configure demo-configure build demo play test docs clean

deps:
	@bash scripts/deps.sh

# Only what the two libraries and orvane-host need.
demo-deps:
	@bash scripts/deps.sh demo

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

demo-configure: demo-deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Builds only what the demo runs: the two libraries and orvane-host.
demo: demo-configure
	@cmake --build $(BUILD) -j $(JOBS) --target OrvaneNative orvane-host
	@$(BUILD)/orvane-host --demo out/demo
	@echo "open out/demo/index.html"

# The live playground: orvane-host serves the simulated Mac to a browser on
# this machine (PLAY=HOST:PORT for another address) until Ctrl-C.
PLAY ?= 127.0.0.1:8470
play: demo-configure
	@cmake --build $(BUILD) -j $(JOBS) --target OrvaneNative orvane-host
	@$(BUILD)/orvane-host --serve $(PLAY)

test: build
	@cd $(BUILD) && ctest --output-on-failure --no-tests=error -j $(JOBS)

# Rewrites the generated tables of the guide for hosts from the code.
docs: build
	@$(BUILD)/orvane-doc-tables docs/hosting.md

clean:
	@rm -rf $(BUILD) out
