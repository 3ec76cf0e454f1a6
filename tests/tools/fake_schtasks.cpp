// Stands in for schtasks.exe in the Windows tests: built as schtasks.exe beside the test
// executables, where a child process is looked for first. Its behaviour comes from the
// environment the test passes down:
//   FAKE_SCHTASKS_MODE   ready | running | disabled | error | silent | flood | hang | stateful
//   FAKE_SCHTASKS_STATE  stateful mode: a file holding Ready, Running or Disabled, which
//                        /Change /ENABLE, /Change /DISABLE and /End update
//   FAKE_SCHTASKS_LOG    a file to which every command line is appended
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* const kTask =
    "\\Microsoft\\Windows\\Application Experience\\Microsoft Compatibility Appraiser";

std::string env(const char* name) {
    char value[1024];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

void write(const std::string& text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

std::string readState(const std::string& path) {
    char buffer[32] = {};
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fread(buffer, 1, sizeof buffer - 1, f);
        std::fclose(f);
    }
    return buffer[0] ? buffer : "Ready";
}

void writeState(const std::string& path, const char* state) {
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fputs(state, f);
        std::fclose(f);
    }
}

std::string row(const std::string& state) {
    return "\"TaskName\",\"Next Run Time\",\"Status\"\r\n\"" + std::string(kTask) +
           "\",\"N/A\",\"" + state + "\"\r\n";
}

} // namespace

int main() {
    const std::string commandLine = GetCommandLineA();
    const std::string log = env("FAKE_SCHTASKS_LOG");
    if (!log.empty()) {
        if (FILE* f = std::fopen(log.c_str(), "ab")) {
            std::fprintf(f, "%s\n", commandLine.c_str());
            std::fclose(f);
        }
    }
    const bool query = commandLine.find("/Query") != std::string::npos;
    const std::string mode = env("FAKE_SCHTASKS_MODE");

    if (mode == "hang") {
        Sleep(INFINITE);
    } else if (mode == "silent") {
        return 0;
    } else if (mode == "error") {
        write("ERROR: Ready or not, the system cannot find the file specified.\r\n");
        return 1;
    } else if (mode == "flood") {
        const std::string line(99, 'x');
        for (int i = 0; i < 1024; ++i)
            write(line + "\n");
        write(row("Ready"));
    } else if (mode == "stateful") {
        const std::string path = env("FAKE_SCHTASKS_STATE");
        std::string state = readState(path);
        if (query) {
            write(row(state));
        } else if (commandLine.find("/DISABLE") != std::string::npos) {
            writeState(path, "Disabled");
            write("SUCCESS: The parameters of scheduled task \"" + std::string(kTask) +
                  "\" have been changed.\r\n");
        } else if (commandLine.find("/ENABLE") != std::string::npos) {
            writeState(path, "Ready");
            write("SUCCESS: The parameters of scheduled task \"" + std::string(kTask) +
                  "\" have been changed.\r\n");
        } else if (commandLine.find("/End") != std::string::npos) {
            if (state == "Running") writeState(path, "Ready");
            write("SUCCESS: The scheduled task \"" + std::string(kTask) +
                  "\" was terminated successfully.\r\n");
        }
    } else {
        const char* state = mode == "running"    ? "Running"
                            : mode == "disabled" ? "Disabled"
                                                 : "Ready";
        write(row(state));
    }
    return 0;
}
