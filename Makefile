# The two commands of the README: `make demo` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build demo test docs clean

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

# Rewrites the generated tables of the guide for hosts from the code.
docs: build
	@$(BUILD)/orvane-doc-tables docs/hosting.md

clean:
	@rm -rf $(BUILD) out
