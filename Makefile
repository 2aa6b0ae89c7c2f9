# The front door: every target sets up what it needs.
# QT=6 builds against Qt 6 (Debian 13's 6.8) in build-qt6/; Qt 5.15 is the
# default, and what the Windows programs use.
QT ?= 5
ifeq ($(QT),6)
BUILD_DIR ?= build-qt6
QT_DEPS := --qt6
else
BUILD_DIR ?= build
QT_DEPS :=
endif
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= 2

.PHONY: all deps build run test test-debian13 test-package test-spreadsheet test-ansible package windows test-windows test-sanitize bench bench-burst bench-flood bench-startup bench-batch bench-watch bench-datapath fuzz judge screenshots demo format translations clean

all: build

deps:
	@scripts/install-deps.sh $(QT_DEPS)

build: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCONVERTER_QT=$(QT) >/dev/null
	@cmake --build $(BUILD_DIR) -j$(JOBS)

# The tool at work: three simulated converters on a private test network, the
# window inside it. Its broadcasts never reach a real network from here.
run: build
	scripts/demo.sh $(BUILD_DIR)

test: build
	scripts/run-tests.sh $(BUILD_DIR)

# The whole suite again, built with AddressSanitizer and UBSan in build-sanitize/.
test-sanitize: deps
	scripts/test-sanitize.sh build-sanitize

bench: build
	$(BUILD_DIR)/bin/bench_cipher

# A thousand simulated converters answering one probe within 10 ms.
bench-burst: build
	scripts/bench-burst.sh $(BUILD_DIR) 1000 10 5

# 100,000 datagrams of junk at the window.
bench-flood: build
	scripts/bench-flood.sh $(BUILD_DIR) 100000

# Time to the first shown window and peak memory, against a bare Qt window.
bench-startup: build
	scripts/bench-startup.sh $(BUILD_DIR) 10

# converter-cli apply to 1,000 simulated converters at 1,000 frames/s, verified.
bench-batch: build
	scripts/bench-batch.sh $(BUILD_DIR) 1000 10 1000

# converter-cli watch: 200 simulated converters powering on one every 100 ms.
bench-watch: build
	scripts/bench-watch.sh $(BUILD_DIR) 200 100 1000

# converter-cli test --all --loopback on 200 simulated converters at once,
# against one alone.
bench-datapath: build
	scripts/bench-datapath.sh $(BUILD_DIR) 200 4096

# libFuzzer with ASan and UBSan on the intake, the decoder, the frame builder
# and the fleet-file reader with the field parser.
FUZZ_SECONDS ?= 60
fuzz: deps
	FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/fuzz.sh

# The segment check against its independent model, longer than in make test
# and with a new random seed each run (the seed is printed).
JUDGE_COUNT ?= 500000
judge: build
	python3 tests/segmentcheck_judge.py $(BUILD_DIR)/bin/segmentcheck_driver --count $(JUDGE_COUNT)

# The real window under a virtual display, with three simulated converters.
screenshots: build
	scripts/screenshots.sh $(BUILD_DIR)

# The same as make run, under its older name.
demo: run

# The Windows programs, cross-built against a static Qt made once from
# Debian's Qt source (about 16 minutes the first time), and their zip in dist/.
windows: deps
	scripts/install-deps.sh --windows
	scripts/build-windows.sh

# The Windows programs under Wine: PE checks, the black-box scenario, display
# scaling, converter-cli.exe.
test-windows: build
	scripts/install-deps.sh --windows
	scripts/test-windows.sh $(BUILD_DIR)

# The Debian package, build/converter-config_1.0.0_amd64.deb, and the Ansible
# collection, dist/converter_config-converters-1.1.1.tar.gz.
package: build
	scripts/install-deps.sh --ansible
	cd $(BUILD_DIR) && umask 022 && cpack
	ansible-galaxy collection build ansible --output-path dist --force

# lintian, then install, start and remove the package in a disposable root.
test-package: build
	scripts/test-package.sh $(BUILD_DIR)

# A fleet file through LibreOffice Calc and back into apply (Calc is large, so
# it is installed for this target only).
test-spreadsheet: build
	scripts/install-deps.sh --spreadsheet
	E2E_HOSTS="tool sims:5" tests/e2e.sh tests/spreadsheet.sh $(BUILD_DIR)/bin/converter-cli \
		$(BUILD_DIR)/bin/converter-sim

# The Ansible collection: ansible-test's sanity tests offline, the modules
# against a stand-in converter-cli, then over SSH: two sites, each a host
# with sshd and converter-cli beside simulated converters, driven from a
# controller.
test-ansible: build
	scripts/install-deps.sh --ansible --ssh
	/usr/bin/python3 scripts/ansible-sanity.py ansible validate-modules pep8 pylint yamllint
	/usr/bin/python3 tests/ansible_modules.py ansible
	E2E_HOSTS="tool sitea@0,1 siteb@0,2 simsa:2@1 simsb:3@2 watcha@1 watchb@2" \
		tests/e2e.sh tests/ansible_e2e.sh $(BUILD_DIR)/bin/converter-cli $(BUILD_DIR)/bin/converter-sim

# A fresh Debian 13 root (mmdebstrap, as root), the checkout copied in, and
# make test with Qt 5 and with Qt 6 there, then the Qt 6 package's checks;
# the root is removed after.
test-debian13:
	scripts/test-debian13.sh

# Refreshes the translation sources' locations from the code (keeps every entry).
translations: deps
	scripts/update-translations.py

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR) build-sanitize build-fuzz build-windows dist
