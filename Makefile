# Two commands do everything on a fresh Debian machine:
#   make test   installs what is missing, builds both builds, runs every test
#   make run    builds the program and starts it in sample/ (under Wine)
.PHONY: test run deps native windows romaji check bench fuzz package clean

test: deps
	scripts/test.sh

run: deps
	scripts/run.sh

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

check: native
	cd sample && ../build/native/tools/kanaflow-check/kanaflow-check --utf8 .

bench: deps
	bench/run.sh

fuzz: deps
	scripts/fuzz.sh

# A zip for Windows users: kanaflow.exe with the sample library beside it.
package: windows
	scripts/package.sh

clean:
	rm -rf build
