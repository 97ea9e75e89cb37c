#include "CliJobs.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <map>
#include <thread>

#include "CliCommands.h"

namespace tidemar::cli {

int DefaultJobCount() { return std::max(1u, std::thread::hardware_concurrency()); }

bool ParseJobCount(const std::string& text, int& jobs) {
    long long value = 0;
    if (!ParsePositive(text, value) || value > 1024) return false;
    jobs = static_cast<int>(value);
    return true;
}

int RunJobs(size_t count, int jobs, const std::function<int(size_t)>& work) {
    std::atomic<size_t> next{0};
    std::atomic<int> worst{0};
    auto worker = [&] {
        for (size_t i; (i = next.fetch_add(1)) < count;) {
            const int status = work(i);
            int seen = worst.load();
            while (status > seen && !worst.compare_exchange_weak(seen, status)) {
            }
        }
    };
    const size_t threads = std::min(count, static_cast<size_t>(std::max(1, jobs)));
    if (threads <= 1) {
        worker();
        return worst.load();
    }
    std::vector<std::thread> pool;
    pool.reserve(threads);
    for (size_t t = 0; t < threads; ++t) pool.emplace_back(worker);
    for (std::thread& thread : pool) thread.join();
    return worst.load();
}

std::vector<std::string> PerInputFolders(const std::string& outDir, const std::vector<std::string>& inputs) {
    std::vector<std::string> folders;
    std::map<std::string, std::string> taken;
    for (const std::string& input : inputs) {
        const std::string folder = (std::filesystem::path(outDir) / std::filesystem::path(input).stem()).string();
        const auto [at, fresh] = taken.emplace(folder, input);
        if (!fresh) {
            std::fprintf(stderr, "tidemar-cli: %s and %s would both write into %s\n", at->second.c_str(), input.c_str(),
                         folder.c_str());
            return {};
        }
        folders.push_back(folder);
    }
    return folders;
}

}  // namespace tidemar::cli
