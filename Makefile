# Tallyforge: `make run` starts the worksheet, `make test` runs every test.
# Both install what is missing first (scripts/install-deps).
# `make package` builds the Debian package, `make install` installs under PREFIX (and DESTDIR).
# `make test-debian13` runs make test and make package on Debian 13 (in a clean root).
# TF_VERSION=1.0.1 builds everything as that version (default: the project's version).
# `make test` also runs the Windows program's tests under Wine when a Qt for Windows is at
# hand (scripts/windows-qt); `make windows` builds the Windows program, its MSI and a
# portable zip.
# Each build is a preset of CMakePresets.json, in its folder:
#   linux    build/          the program and the tests
#   dist     build-dist/     for installing: no tests, Debian's hardening flags, nothing of the
#                            build tree in it; configured for /usr (the package's prefix, with
#                            Debian's multiarch library folder), make install gives it PREFIX
#   windows  build-windows/  cross-built with mingw-w64 against a Qt for Windows
#                            (scripts/windows-qt), found through TF_WINDOWS_QT_PREFIX
BUILD := build
DIST_BUILD := build-dist
WINDOWS_BUILD := build-windows
PREFIX ?= /usr/local
TF_VERSION ?=
export TF_VERSION
VERSION := $(or $(TF_VERSION),$(shell sed -n 's/^set(TALLYFORGE_VERSION \([0-9.]*\))/\1/p' CMakeLists.txt))
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build run test bench screenshot clean dist install package windows \
  package-check test-debian13 bench-debian13

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset linux >/dev/null

build: configure
	@cmake --build --preset linux -j $(JOBS)

# The program alone: the tests' extra builds (sanitizers, fuzzer) are not waited for.
run: configure
	@cmake --build --preset linux -j $(JOBS) --target tallyforge
	@$(BUILD)/bin/tallyforge

test: build
	@ctest --preset linux
	@JOBS=$(JOBS) scripts/windows-tests

# Builds only what it measures (scripts/bench): the tests are not waited for.
bench: configure
	@scripts/bench $(BUILD) $(WINDOWS_BUILD)

# With a Qt for Windows at hand, also the Windows program under Wine.
screenshot: build
	@if qt=$$(scripts/windows-qt locate 2>/dev/null); then \
	  TF_WINDOWS_QT_PREFIX="$$qt" cmake --preset windows >/dev/null && \
	  cmake --build --preset windows -j $(JOBS) --target tallyforge_stage && \
	  scripts/screenshot $(BUILD) $(WINDOWS_BUILD); \
	else scripts/screenshot $(BUILD); fi

dist:
	@scripts/install-deps --package
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	  CXXFLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	  cmake --preset dist >/dev/null
	@cmake --build --preset dist -j $(JOBS)

install: dist
	@DESTDIR=$(DESTDIR) cmake --install $(DIST_BUILD) --prefix $(PREFIX)

package: dist
	@rm -f $(DIST_BUILD)/*.deb
	@cd $(DIST_BUILD) && cpack -G DEB >/dev/null
	@deb=$$(ls $(DIST_BUILD)/*.deb) && echo "package: $$deb" && lintian --fail-on error "$$deb"

# The .deb installed with apt in a clean root of this machine's Debian release, started on an
# X server there and purged without a trace (scripts/debian-root; needs root or sudo).
RELEASE := $(shell . /etc/os-release 2>/dev/null && echo $$VERSION_CODENAME)
package-check: package
	@scripts/debian-root install-check $(RELEASE) $$(ls $(DIST_BUILD)/*.deb)

# Debian 13 from any Debian machine: the same make test and make package in a clean Debian 13
# root made from Debian's archive and kept for the next run (scripts/debian-root), then that
# .deb checked in a fresh root as package-check does.
test-debian13:
	@rm -rf build-trixie
	@scripts/debian-root test trixie test package
	@scripts/debian-root install-check trixie $$(ls build-trixie/*.deb)

# make bench on Debian 13: its section of docs/benchmarks.md.
bench-debian13:
	@scripts/debian-root test trixie bench

# The program, the MSI and the zip only: the tests are built by make test.
# Signed with TF_SIGN_PKCS12=<file.p12> TF_SIGN_PASSWORD_FILE=<file> (or a hardware token:
# TF_SIGN_PKCS11_MODULE, TF_SIGN_CERTS, TF_SIGN_KEY), optionally TF_SIGN_TIMESTAMP_URL, given
# here or in the environment (README, Signing); what is given is what this build uses.
SIGN_FILES := PKCS12 PASSWORD_FILE PKCS11_MODULE PKCS11_ENGINE CERTS
SIGN_ARGS := $(foreach v,$(SIGN_FILES),"-DTF_SIGN_$(v)=$(if $(TF_SIGN_$(v)),$(abspath $(TF_SIGN_$(v))))") \
  "-DTF_SIGN_KEY=$(TF_SIGN_KEY)" "-DTF_SIGN_TIMESTAMP_URL=$(TF_SIGN_TIMESTAMP_URL)"
windows:
	@scripts/install-deps --windows
	@qt=$$(scripts/windows-qt ensure) && TF_WINDOWS_QT_PREFIX="$$qt" cmake --preset windows $(SIGN_ARGS) >/dev/null
	@cmake --build --preset windows -j $(JOBS) --target tallyforge_packages
	@for f in $(WINDOWS_BUILD)/tallyforge-$(VERSION)-x64.msi $(WINDOWS_BUILD)/tallyforge-$(VERSION)-x64.zip \
	  $(WINDOWS_BUILD)/tallyforge-$(VERSION)-x64-debug.zip; do \
	  echo "windows: $$f ($$(du -h $$f | cut -f1))"; done
	@echo "windows: the program and what it needs: $(WINDOWS_BUILD)/Tallyforge/"
	@msiinfo export $(WINDOWS_BUILD)/tallyforge-$(VERSION)-x64.msi Property | tr -d '\r' | \
	  sed -n 's/^\(ProductCode\|UpgradeCode\)\t/windows: MSI \1 /p'
	@$(if $(TF_SIGN_PKCS12)$(TF_SIGN_KEY),echo "windows: the .exe and .dll files and the MSI are signed", \
	  echo "windows: UNSIGNED: no certificate given (TF_SIGN_PKCS12, README: Signing)")

clean:
	rm -rf $(BUILD) $(DIST_BUILD) $(WINDOWS_BUILD)
