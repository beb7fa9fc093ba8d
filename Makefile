# Entry points: `make run` builds and starts Tessaray, `make test` builds and runs every test.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: setup configure build run test bench asan clean

setup:
	@bash scripts/setup.sh

configure: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The program alone: the test programs and benchmarks are built by `make test` and `make bench`.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target tessaray
	./$(BUILD)/tessaray

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	bash scripts/run-benchmarks.sh $(BUILD)

# The whole program and every test (UI included) under AddressSanitizer and
# UndefinedBehaviorSanitizer. Leaks are reported except inside the system libraries named in
# scripts/lsan.supp; every other finding stops the test that made it. Line tables only (-g1):
# reports still name file and line, and the build stays within the CI's time. Strict string
# checks stay off: the X keyboard library copies names with strndup from buffers that end
# without a NUL, which is correct and which those checks report as an overflow.
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 QT_QPA_PLATFORM=offscreen
asan: setup
	cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DTESSARAY_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="-O1 -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all" >/dev/null
	$(SANITIZE_ENV) cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && $(SANITIZE_ENV) ctest --output-on-failure -j $(JOBS)

# Settings and plan lists found in a build folder (a portable install, or the program folder of
# earlier versions) are user data: they stay, everything else goes.
clean:
	@for dir in $(BUILD) $(BUILD)-asan $(BUILD)-fuzz; do \
	  [ -d "$$dir" ] || continue; \
	  kept=$$(find "$$dir" -maxdepth 1 -type f \( -name '*.ini' -o -name '*.lst' \) | sort); \
	  if [ -n "$$kept" ]; then \
	    echo "Keeping the settings and plan lists in $$dir:" $$kept; \
	    find "$$dir" -mindepth 1 -maxdepth 1 ! \( -type f \( -name '*.ini' -o -name '*.lst' \) \) \
	      -exec rm -rf {} +; \
	  else \
	    rm -rf "$$dir"; \
	  fi; \
	done
