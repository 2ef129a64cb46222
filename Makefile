# Tallyforge: `make run` starts the worksheet, `make test` runs every test.
# Both install what is missing first (scripts/install-deps).
# `make package` builds the Debian package, `make install` installs under PREFIX (and DESTDIR).
# `make test` also runs the Windows program's tests under Wine when a Qt for Windows is at
# hand (scripts/windows-qt); `make windows` builds the Windows program and its MSI.
BUILD ?= build
# A build for installing: no tests, Debian's hardening flags, nothing of the build tree in it.
# Configured for /usr (the package's prefix, with Debian's multiarch library folder);
# make install gives it PREFIX at install time.
DIST_BUILD ?= build-dist
# The Windows program, cross-built with mingw-w64.
WINDOWS_BUILD ?= build-windows
PREFIX ?= /usr/local
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build run test bench screenshot clean dist install package

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# The program alone: the tests' extra builds (sanitizers, fuzzer) are not waited for.
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tallyforge
	@$(BUILD)/src/tallyforge

test: build
	@cd $(BUILD) && ctest --output-on-failure --timeout 300
	@JOBS=$(JOBS) scripts/windows-tests $(WINDOWS_BUILD)

bench: build
	@scripts/bench $(BUILD)

screenshot: build
	@scripts/screenshot $(BUILD)

dist:
	@scripts/install-deps --package
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	  CXXFLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	  cmake -S . -B $(DIST_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYFORGE_TESTS=OFF \
	  -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
	@cmake --build $(DIST_BUILD) -j $(JOBS)

install: dist
	@DESTDIR=$(DESTDIR) cmake --install $(DIST_BUILD) --prefix $(PREFIX)

package: dist
	@rm -f $(DIST_BUILD)/*.deb
	@cd $(DIST_BUILD) && cpack -G DEB >/dev/null
	@deb=$$(ls $(DIST_BUILD)/*.deb) && echo "package: $$deb" && lintian --fail-on error "$$deb"

clean:
	rm -rf $(BUILD) $(DIST_BUILD) $(WINDOWS_BUILD)
