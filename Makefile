# Quendral 1.3 setup kit. `make demo` and `make test` install what they need first.
BUILD_DIR ?= $(CURDIR)/build
export BUILD_DIR
JOBS ?= 2

.PHONY: all deps build sanitize fuzz-build demo test crash-proof fuzz bench lint medium check-medium reproducible clean

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

MAKE_MEDIUM = $(BUILD_DIR)/native/builder/make_medium

# A medium from a product folder:
#   make medium PRODUCT=<folder> OUT=<folder> [LICENCE=<file>] [ADNOTE=<text>] [ORDER=<file>] [ISO=<file>]
#     [SIGN_CERT=<PEM chain> SIGN_KEY=<PEM key> | SIGN_PKCS12=<file> [SIGN_PASSWORD_FILE=<file>]] [TIMESTAMP=<url>]
#     [SETUP=<file.exe> [WINGET=<folder> URL=<download address>]]
#   (a PKCS#12 password may also come in the environment variable SIGN_PASSWORD)
# A disc image's dates are the commit's (SOURCE_DATE_EPOCH, unless given): the same commit
# makes the same image.
medium: build
	@$(if $(ISO),bash scripts/install_deps.sh xorriso)
	SOURCE_DATE_EPOCH="$${SOURCE_DATE_EPOCH:-$$(git log -1 --format=%ct 2>/dev/null)}" $(MAKE_MEDIUM) build "$(PRODUCT)" "$(OUT)" $(BUILD_DIR)/win/install/install.exe \
	  $(BUILD_DIR)/win/uninstall/uninstall.exe $(if $(LICENCE),--licence "$(LICENCE)") \
	  $(if $(ADNOTE),--adnote "$(ADNOTE)") $(if $(ORDER),--order "$(ORDER)") $(if $(ISO),--iso "$(ISO)") \
	  $(if $(SIGN_CERT),--sign-cert "$(SIGN_CERT)") $(if $(SIGN_KEY),--sign-key "$(SIGN_KEY)") \
	  $(if $(SIGN_PKCS12),--sign-pkcs12 "$(SIGN_PKCS12)") \
	  $(if $(SIGN_PASSWORD_FILE),--sign-password-file "$(SIGN_PASSWORD_FILE)") \
	  $(if $(TIMESTAMP),--timestamp "$(TIMESTAMP)") \
	  $(if $(SETUP),--setup "$(SETUP)" --setup-program $(BUILD_DIR)/win/setup/setup.exe) \
	  $(if $(WINGET),--winget "$(WINGET)") $(if $(URL),--url "$(URL)")

# The installer's rules over an existing medium: make check-medium MEDIUM=<folder>
check-medium: build
	$(MAKE_MEDIUM) check "$(MEDIUM)"

# The unit tests once more under AddressSanitizer and UndefinedBehaviorSanitizer (GCC,
# which keeps the GBK literals the tests compare against).
sanitize: deps
	cmake -S . -B $(BUILD_DIR)/sanitize -DCMAKE_BUILD_TYPE=Debug -DKIT_SANITIZE=ON >/dev/null
	cmake --build $(BUILD_DIR)/sanitize -j$(JOBS)

fuzz-build: deps
	cmake -S . -B $(BUILD_DIR)/fuzz -DKIT_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	cmake --build $(BUILD_DIR)/fuzz -j$(JOBS)

# The three builds side by side: each one's configure and link steps leave cores idle.
test: deps
	$(MAKE) --no-print-directory -j3 build sanitize fuzz-build
	bash scripts/run_tests.sh

# Every crash point of every flow, each followed by the user's next step; writes
# tests/crash/RESULTS.md.
crash-proof: build
	bash scripts/crash_proof.sh

# Builds the committed source twice in two other folders and compares the shipped programs,
# a medium and a single-file setup byte for byte.
reproducible: build
	bash scripts/check_reproducible.sh

fuzz: fuzz-build
	bash scripts/run_fuzz.sh

bench: build
	@bash scripts/install_deps.sh wixl python3 nsis
	cmake --build $(BUILD_DIR)/win -j$(JOBS) --target install_profiled kit_timer minimal_dialog msi_uncompressed
	bash scripts/bench.sh

lint: deps
	@bash scripts/install_deps.sh clang-tidy cppcheck python3
	bash scripts/lint.sh

demo: build
	bash scripts/demo.sh

clean:
	rm -rf $(BUILD_DIR)
