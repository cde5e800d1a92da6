// mr3x-unit-sim: a simulated M-R3X Local Unit on a pty, a serial device or a network port.
#include "sim/SerialServer.h"
#include "sim/SimArguments.h"

#include <csignal>
#include <ctime>
#include <iostream>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int)
{
    stopRequested = 1;
}

void installStopHandlers()
{
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: the poll wakes up at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

mr3x::sim::DateTime localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

} // namespace

int main(int argc, char* argv[])
{
    using namespace mr3x::sim;
    std::string error;
    const auto args = parseServerArguments(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!args) {
        std::cerr << "mr3x-unit-sim: " << error << "\n" << serverUsage();
        return 2;
    }
    if (args->help) {
        std::cout << serverUsage();
        return 0;
    }
    SimOptions options = args->options;
    if (!args->clockGiven)
        options.clock = localNow();

    SerialServer server;
    const bool opened = args->listenPort >= 0 ? server.listenTcp(args->listenHost, args->listenPort, args->rfc2217, error)
                        : args->device.empty() ? server.openPty(error)
                                               : server.openDevice(args->device, options.baud, error);
    if (!opened) {
        std::cerr << "mr3x-unit-sim: " << error << "\n";
        return 1;
    }
    server.setLogging(args->log);
    installStopHandlers();
    // The first line is the port to open; whoever started us may be waiting for it.
    std::cout << server.path() << std::endl;

    SimUnit unit(options);
    return server.serve(unit, stopRequested);
}
