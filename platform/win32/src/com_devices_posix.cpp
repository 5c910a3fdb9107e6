// COM port numbers on Linux: the environment's mappings and the four classic serial devices.
#include "com_devices_posix.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <set>

#include "com_names.h"

extern char** environ;

namespace w32 {
namespace serial {
namespace {

const int kDefaultPorts = 4;

bool IsCharacterDevice(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

// /dev/ttyS* nodes exist whether or not a UART is behind them; the kernel's port type says.
bool SerialHardwarePresent(const std::string& path) {
    if (!IsCharacterDevice(path)) {
        return false;
    }
    std::string name = path.substr(path.find_last_of('/') + 1);
    std::ifstream type("/sys/class/tty/" + name + "/type");
    int value = -1;
    if (type >> value) {
        return value != 0;  // 0: no UART found
    }
    return true;
}

// COM numbers that some COMn variable names, whatever it maps to.
std::set<int> MappedComNumbers() {
    std::set<int> numbers;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        std::string text(*entry);
        size_t equals = text.find('=');
        if (equals == std::string::npos || text.compare(0, 3, "COM") != 0) {
            continue;
        }
        int number = ComNumberOfName(text.substr(0, equals).c_str());
        if (number != 0) {
            numbers.insert(number);
        }
    }
    return numbers;
}

std::string VariableOf(int comNumber) {
    std::string name = "COM" + std::to_string(comNumber);
    const char* value = std::getenv(name.c_str());
    return value != nullptr ? std::string(value) : std::string();
}

}  // namespace

std::string DevicePathOfCom(int comNumber) {
    std::string mapped = VariableOf(comNumber);
    if (!mapped.empty()) {
        return mapped;
    }
    if (comNumber >= 1 && comNumber <= kDefaultPorts) {
        return "/dev/ttyS" + std::to_string(comNumber - 1);
    }
    return std::string();
}

std::vector<PresentPort> PresentPorts() {
    std::set<int> numbers = MappedComNumbers();
    for (int n = 1; n <= kDefaultPorts; ++n) {
        numbers.insert(n);
    }
    std::vector<PresentPort> present;
    for (int n : numbers) {
        std::string mapped = VariableOf(n);
        if (!mapped.empty()) {
            if (IsCharacterDevice(mapped)) {
                present.push_back({n, mapped});
            }
        } else {
            std::string path = DevicePathOfCom(n);
            if (!path.empty() && SerialHardwarePresent(path)) {
                present.push_back({n, path});
            }
        }
    }
    return present;
}

}  // namespace serial
}  // namespace w32
