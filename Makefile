# The two commands of the README: `make demo` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build demo test clean

deps:
	@bash scripts/deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

demo: build
	@$(BUILD)/orvane-host --demo out/demo

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	@rm -rf $(BUILD) out
