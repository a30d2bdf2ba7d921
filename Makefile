# make demo   set up everything that is missing, build, run the MgO example
# make test   set up, then run every C++ and Python test
# make bench  run the benchmarks
.PHONY: demo test setup bench

setup:
	sh scripts/setup.sh

demo: setup
	.venv/bin/python examples/mgo_demo.py

test:
	sh scripts/test.sh

bench: setup
	.venv/bin/python benchmarks/bench_isothermal.py
