#include "reports/crd_point_id_ranges.hpp"

#include "platform/c_locale_text.hpp"
#include "ptbank/crd_user_type_sync.hpp"

namespace {

constexpr int pointRead = 1;

std::vector<long> pointNumbers(VkCrdHandle handle) {
    syncCrdUserType(handle);
    crdPointRec point{};
    std::vector<long> numbers;
    if (VkCrdApi_find_coord_top(point.name, handle) != 0)
        return numbers;
    while (VkCrdApi_next_coord(handle, point.name, &point) == pointRead)
        numbers.push_back(platform::atolC(point.name));
    return numbers;
}

std::string range(long first, long last) {
    return platform::formatC("%ld -> %ld", first, last);
}

} // namespace

void listCrdPointIds(VkCrdHandle handle, int usedFlag, std::vector<std::string>* lines) {
    if (lines == nullptr)
        return;
    const std::vector<long> numbers = pointNumbers(handle);
    if (usedFlag != 0) {
        if (numbers.empty())
            return;
        long start = numbers.front();
        long previous = start;
        for (std::size_t i = 1; i < numbers.size(); ++i) {
            if (numbers[i] > previous + 1) {
                lines->push_back(range(start, previous));
                start = numbers[i];
            }
            previous = numbers[i];
        }
        lines->push_back(range(start, previous));
        return;
    }
    long previous = 0;
    for (const long p : numbers) {
        if (p > previous + 1)
            lines->push_back(range(previous + 1, p - 1));
        previous = p;
    }
    lines->push_back(platform::formatC("%ld ->", previous + 1));
}
