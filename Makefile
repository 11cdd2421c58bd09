# The two everyday commands; both install what is missing first.
BUILD_DIR ?= build
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all deps build run test clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	@test -f $(BUILD_DIR)/CMakeCache.txt || cmake -S . -B $(BUILD_DIR) $(GENERATOR)
	@cmake --build $(BUILD_DIR) --parallel

run: build
	@scripts/run.sh $(BUILD_DIR)/velaro-paint

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure --parallel 2

clean:
	rm -rf $(BUILD_DIR)
