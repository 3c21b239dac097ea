# Two commands do everything on a fresh Debian machine:
#   make test   installs what is missing, builds both builds, runs every test
#   make romaji builds the romaji printer (until the program itself exists)
.PHONY: test deps native windows romaji bench clean

test: deps
	scripts/test.sh

deps:
	scripts/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows

romaji: native
	@echo "Built build/native/tools/kanaflow-romaji/kanaflow-romaji"

bench: deps
	bench/run.sh

clean:
	rm -rf build
