# The two commands of the README: `make run` and `make test`.
BUILD      ?= build
PREFIX     ?= /usr/local
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= 2
FUZZ_SECONDS ?= 600

.PHONY: all deps configure build run test install deb test-asan fuzz bench clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ]; then \
	  echo "No display found. To run without one: xvfb-run -a $(BUILD)/bin/typoscan-zindel"; exit 1; fi
	$(BUILD)/bin/typoscan-zindel

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# DESTDIR (from the environment or the command line) stages the installation.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package, checked by lintian where it is installed.
deb: build
	cd $(BUILD) && cpack -G DEB
	rm -f typoscan-zindel_*.deb
	mv $(BUILD)/typoscan-zindel_*.deb .
	@if command -v lintian >/dev/null; then lintian --fail-on error typoscan-zindel_*.deb; \
	  else echo "lintian is not installed: the package was not checked"; fi

test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTZ_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:halt_on_error=1 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j$(JOBS)

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTZ_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j$(JOBS)
	scripts/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	bench/run $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
