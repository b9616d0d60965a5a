#!/usr/bin/env bash
# The line a shell benchmark prints first, so that its figures name the
# machine they came from: the processor's model, family and model numbers,
# its cores and the load at the start. Source it and call processor_line.
processor_line() {
    echo "processor: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
        "family $(sed -n 's/^cpu family[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
        "model $(sed -n 's/^model[[:space:]]*: //p' /proc/cpuinfo | head -n 1); $(nproc) cores;" \
        "load average $(cut -d ' ' -f 1-3 /proc/loadavg)"
}
