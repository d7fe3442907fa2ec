# Shorthands for build.sh, which installs what is missing, configures and builds.
.PHONY: all demo test bench clean
all:
	./build.sh test
demo:
	./build.sh demo
test:
	./build.sh test
bench:
	./build.sh bench
clean:
	rm -rf build build-bench out
