#pragma once

#include <QString>
#include <QStringList>

/// What a run of the command-line tool gave.
struct ToolRun
{
    int status = -1;
    double seconds = 0;    ///< wall time
    double cpuSeconds = 0; ///< user and system time
    double peakMiB = 0;    ///< the process's largest resident set
};

/**
 * Runs the tool with @p arguments, standard input fed from the file
 * @p input when given (through a pipe), its output and messages thrown
 * away. The process is traced so that it stops on its way out, when its
 * peak is read: the kernel's own figure for a finished child (ru_maxrss)
 * also counts the memory of the process it was forked from.
 * QG_BENCH_CLI names another build of the tool to measure the same way.
 */
ToolRun runTool(const QStringList &arguments, const QString &input = {});

namespace benchmark {
class State;
}

/**
 * Runs the tool with @p measured and with @p copy in turns, 11 rounds, and
 * sets @p state's counters from their medians: NAME_ms, copy_ms,
 * NAME_per_copy, NAME_cpu_ms, copy_cpu_ms and cpu_per_copy.
 */
void runAgainstCopy(benchmark::State &state, const char *name, const QStringList &measured,
                    const QStringList &copy);
