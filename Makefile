# make run   installs what is missing, builds and opens Letterwell
# make test  installs what is missing, builds and runs every test, plain and
#            under AddressSanitizer + UndefinedBehaviorSanitizer
# make package  builds a Release build without tests in its own folder and
#            makes the Debian package there (build-package/letterwell_*.deb)
BUILD      ?= build
ASAN_BUILD ?= build-asan
PACKAGE_BUILD ?= build-package
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: all deps configure build run test test-plain test-asan package screenshots bench format clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(ASAN_BUILD)/build.ninja: | deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DLETTERWELL_SANITIZE=ON

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display: Letterwell is a desktop program and needs one."; \
	  echo "On a machine without a display, start it with:  xvfb-run -a $(BUILD)/bin/letterwell"; \
	  exit 1; \
	fi
	$(BUILD)/bin/letterwell

test: test-plain test-asan

test-plain: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

package: deps
	cmake -S . -B $(PACKAGE_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DLETTERWELL_TESTS=OFF
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB

screenshots: build
	$(BUILD)/bin/letterwell-screenshots $(BUILD)/screenshots

bench: deps
	cmake -S . -B build-bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DLETTERWELL_TESTS=OFF -DLETTERWELL_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	build-bench/bin/reader_bench
	bash bench/cli_bench.sh build-bench/bin
	bash bench/formats_bench.sh build-bench/bin
	build-bench/bin/catalogue_bench
	build-bench/bin/page_bench 2000
	build-bench/bin/folder_sheet_bench 1000
	build-bench/bin/sheet_bench
	build-bench/bin/sheet_bench 3000
	build-bench/bin/disable_bench 500
	build-bench/bin/details_bench
	build-bench/bin/auto_categories_bench
	bash bench/crowd_bench.sh build-bench/bin

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(PACKAGE_BUILD)

# make fuzz  builds the readers' libFuzzer targets with clang in their own
#            folder and runs each for FUZZ_SECONDS over the committed corpus;
#            new inputs stay in $(FUZZ_BUILD)/corpus, crashes land in
#            $(FUZZ_BUILD)/crashes (copy one to tests/fuzz/corpus/ once fixed)
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZERS      := opentype type1 settings bundle category masks collection outline afm details reject facts collections

.PHONY: fuzz
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DLETTERWELL_FUZZ=ON -DLETTERWELL_SANITIZE=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZERS))
	@for reader in $(FUZZERS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$reader $(FUZZ_BUILD)/crashes/$$reader || exit 1; \
	  echo "fuzzing $$reader for $(FUZZ_SECONDS) s"; \
	  $(FUZZ_BUILD)/bin/fuzz_$$reader -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 \
	    -artifact_prefix=$(FUZZ_BUILD)/crashes/$$reader/ \
	    $(FUZZ_BUILD)/corpus/$$reader tests/fuzz/corpus/$$reader || exit 1; \
	done
