# Quendral 1.3 setup kit. `make demo` and `make test` install what they need first.
BUILD_DIR ?= $(CURDIR)/build
export BUILD_DIR
JOBS ?= 2

.PHONY: all deps build demo test clean

all: build

deps:
	@bash scripts/install_deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR)/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake --build $(BUILD_DIR)/native -j$(JOBS)
	cmake -S . -B $(BUILD_DIR)/win -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake >/dev/null
	cmake --build $(BUILD_DIR)/win -j$(JOBS)
	bash scripts/layout_medium.sh

test: build
	bash scripts/run_tests.sh

demo: build
	bash scripts/demo.sh

clean:
	rm -rf $(BUILD_DIR)
