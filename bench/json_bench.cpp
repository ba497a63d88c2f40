// Parse time of one JSON object whose keys all share a djb2 hash (JsonHashKey, the fixed hash
// the object index once filed keys under) beside one of ordinary keys of the same length and
// number, at 0.9 MB and 1.8 MB of text. Each figure is the median of the runs, printed as
// "name value unit". Runs natively: build/host/json_bench [runs] (default 3).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "settings/json/json_value.h"
#include "tests/host/json_test_util.h"

namespace {

constexpr char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kBlocks = 11;  // each key is this many two-byte blocks
constexpr size_t kKeyLength = 2 * kBlocks;

// The largest set of two-byte blocks that djb2 maps alike, found by hashing every pair of the
// alphabet. djb2 takes in a key a byte at a time, so among keys of one length, swapping one
// block for another of its set leaves the hash of the whole key unchanged.
std::vector<std::string> InterchangeableBlocks() {
    std::map<uint32_t, std::vector<std::string>> byHash;
    for (const char* first = kAlphabet; *first; ++first) {
        for (const char* second = kAlphabet; *second; ++second) {
            const std::string block{*first, *second};
            byHash[JsonHashKey(block.c_str())].push_back(block);
        }
    }
    std::vector<std::string> largest;
    for (const auto& entry : byHash) {
        if (entry.second.size() > largest.size()) largest = entry.second;
    }
    return largest;
}

// The key numbered index: its digits in base blocks.size() pick each block.
std::string CollidingKey(const std::vector<std::string>& blocks, size_t index) {
    std::string key;
    for (int i = 0; i < kBlocks; ++i, index /= blocks.size()) key += blocks[index % blocks.size()];
    return key;
}

std::string OrdinaryKey(size_t index) {
    const std::string digits = std::to_string(index);
    return "k" + std::string(kKeyLength - 1 - digits.size(), '0') + digits;
}

// An object of members "key":0 until the text reaches about bytes.
template <typename MakeKey>
std::string ObjectText(size_t bytes, size_t* members, MakeKey makeKey) {
    const size_t memberBytes = kKeyLength + 5;  // "key":0 and a comma
    *members = bytes / memberBytes;
    std::string text = "{";
    text.reserve(bytes + 2);
    for (size_t i = 0; i < *members; ++i) {
        if (i) text += ',';
        text += '"' + makeKey(i) + "\":0";
    }
    return text + "}";
}

// Median seconds of parsing text; a negative figure when the parse fails or loses members.
double MedianParseSeconds(const std::string& text, size_t members, int runs) {
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const JsonPtr parsed(JsonParse(text.c_str()));
        const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
        if (JsonObjectCount(parsed.get()) != members) return -1;
        seconds.push_back(taken.count());
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const std::vector<std::string> blocks = InterchangeableBlocks();
    const uint32_t shared = JsonHashKey(CollidingKey(blocks, 0).c_str());
    const struct {
        size_t bytes;
        const char* name;
    } sizes[] = {{900000, "0.9MB"}, {1800000, "1.8MB"}};
    for (const auto& size : sizes) {
        size_t members = 0;
        const std::string ordinary = ObjectText(size.bytes, &members, OrdinaryKey);
        // Distinct keys run out at blocks.size() to the power kBlocks; past that, keys repeat.
        bool distinctAndShared = std::pow(blocks.size(), kBlocks) >= members;
        const std::string colliding = ObjectText(size.bytes, &members, [&](size_t index) {
            const std::string key = CollidingKey(blocks, index);
            distinctAndShared = distinctAndShared && JsonHashKey(key.c_str()) == shared;
            return key;
        });
        if (!distinctAndShared) {
            std::fprintf(stderr, "json_bench: no %zu distinct keys with one djb2 hash\n", members);
            return 1;
        }
        const double plain = MedianParseSeconds(ordinary, members, runs);
        const double attack = MedianParseSeconds(colliding, members, runs);
        if (plain < 0 || attack < 0) {
            std::fprintf(stderr, "json_bench: a %s object did not parse whole\n", size.name);
            return 1;
        }
        std::printf("json_parse_ordinary_keys_%s %.4f s\n", size.name, plain);
        std::printf("json_parse_colliding_keys_%s %.4f s\n", size.name, attack);
        std::printf("json_parse_colliding_over_ordinary_%s %.2f x\n", size.name, attack / plain);
    }
    return 0;
}
