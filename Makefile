# Two entry points: `make run` builds and starts the front-end, `make test`
# builds and runs every test. Both install what is missing first.
.PHONY: run test build deps bench screenshot clean install uninstall package fuzz test-sanitize

deps:
	scripts/install-deps

build: deps
	cmake --preset release
	cmake --build --preset release

# A copy in run/ (git-ignored), so that the Config/, NVRAM/ and Saves/ it
# keeps beside itself outlive `make clean`. A link would not do: the program
# folder is the program file's real folder. Copied under another name and
# renamed, so that a copy still running is not written over.
run: build
	mkdir -p run
	cp build/release/kestrun run/.kestrun.new
	mv -f run/.kestrun.new run/kestrun
	run/kestrun

test: build
	ctest --preset release

# The whole suite again under AddressSanitizer and UBSan (build/sanitize).
test-sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize

# libFuzzer targets in build/fuzz; FUZZ_SECONDS=N also runs each for N seconds.
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	$(if $(FUZZ_SECONDS),tests/fuzz/run $(FUZZ_SECONDS))

# The emulator's definitions the catalogue benchmarks use, when at hand.
GAMES_XML ?= ../shared/real-emulator/Config/Games.xml
COLLECTION := build/release/bench/collection

bench: build
	rm -rf $(COLLECTION)
	$(if $(wildcard $(GAMES_XML)),QT_QPA_PLATFORM=offscreen build/release/bench/catalogue-bench $(GAMES_XML) --make-fixture $(COLLECTION))
	$(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1280x1024x24") build/release/bench/startup-bench $(if $(wildcard $(GAMES_XML)),--collection $(COLLECTION)) build/release/kestrun build/release/bench/bare-window build/release/bench/text-window build/release/bench/widgets-window
	$(if $(wildcard $(GAMES_XML)),build/release/bench/catalogue-bench $(GAMES_XML))
	$(if $(wildcard $(GAMES_XML)),build/release/bench/linked-bench $(dir $(GAMES_XML))..)
	build/release/bench/zip-directory-bench
	$(MAKE) --no-print-directory bench-idle

# CPU ticks and wakeups while idle, before and after a key capture waited.
.PHONY: bench-idle
bench-idle: build
	$(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1280x1024x24") bench/idle_bench.py build/release/kestrun

# Opens generated 1 GiB files and merges a 16 MiB one (in the temporary
# folder, deleted afterwards).
.PHONY: bench-files
bench-files: build
	build/release/bench/bigfile-bench
	build/release/bench/merge-bench

screenshot: build
	scripts/screenshot screenshot.png

clean:
	rm -rf build

# A user-writable program folder, with a menu entry under $XDG_DATA_HOME.
# PREFIX travels in the environment, so blanks and quotes in it are safe.
export PREFIX ?= $(HOME)/Games/Kestrun

install: build
	scripts/install-prefix "$$PREFIX"

uninstall:
	scripts/install-prefix --remove "$$PREFIX"

package: build
	cmake --build --preset release --target package
