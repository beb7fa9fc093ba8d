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
	bash scripts/run-benchmarks.sh $(BUILD)

# Core and its tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: setup
	cmake -S . -B $(BUILD)-asan -DCMAKE_BUILD_TYPE=Debug -DTESSARAY_CORE_ONLY=ON -DTESSARAY_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all" >/dev/null
	cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && ctest --output-on-failure -j $(JOBS)

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
