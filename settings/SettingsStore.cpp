#include "settings/SettingsStore.h"

#include <cstdio>
#include <memory>
#include <optional>

namespace pw {

namespace {

bool IsScanfSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The integer at the start of text as "%d" reads it: leading white space and a
// sign, then digits up to the first non-digit. Nothing when there are no
// digits. A number too large for 32 bits is also nothing, where "%d" would
// give an undefined result; for the store both mean "use the default".
std::optional<int32_t> ScanDecimal(const std::string& text) {
    size_t at = 0;
    while (at < text.size() && IsScanfSpace(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at >= text.size() || text[at] < '0' || text[at] > '9') return std::nullopt;
    int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        magnitude = magnitude * 10 + (text[at] - '0');
        if (magnitude > int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
}

}  // namespace

SettingsStore& SettingsStore::Acquire(SettingsContext& context) {
    // Counted only once the store exists, so a failed first load leaves no
    // count behind for a store that was never made.
    if (context.store == nullptr) context.store = new SettingsStore(context.registry);
    ++context.count;
    return *context.store;
}

void SettingsStore::Release(SettingsContext& context) {
    if (context.count == 0) return;
    if (--context.count == 0) {
        delete context.store;
        context.store = nullptr;
    }
}

// A context that goes while something still holds its store (a game torn
// down part way) takes the store with it rather than leaking it.
SettingsContext::~SettingsContext() { delete store; }

SettingsStore::SettingsStore(Registry& registry) : registry(registry) { Reload(); }

void SettingsStore::Reload() {
    score = ReadValue("score", 0, kHighestScore);
    level = ReadValue("level", kLowestLevel, kHighestLevel);
    // Stored inverted, so that a missing value means on.
    autoAdjust = ReadValue("auto", 0, 1) != 0 ? 0 : 1;
    results.Clear();
    levelChanged = 0;
    levelPoints = kFullLevelPoints;
}

int32_t SettingsStore::ReadValue(const std::string& name, int32_t lowest, int32_t highest) {
    std::unique_ptr<RegistryKey> key = registry.CreateKey(kKeyPath);
    if (!key || !key->ValueSize(name)) return lowest;
    std::string text;
    if (!key->ReadValue(name, text, kTextBufferChars)) return lowest;
    std::optional<int32_t> value = ScanDecimal(text);
    // Out of range gives the default, not the nearer bound: a stored level of
    // 16 loads as 1.
    if (!value || *value < lowest || *value > highest) return lowest;
    return *value;
}

void SettingsStore::WriteValue(const std::string& name, int32_t value) {
    std::unique_ptr<RegistryKey> key = registry.CreateKey(kKeyPath);
    if (!key) return;
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    key->WriteValue(name, text);
}

void SettingsStore::RecordResult(bool success) {
    if (!autoAdjust) return;
    results.InsertAt(success ? 1 : 0, results.count);
    // Only the last results are ever judged: older ones are let go, so that a
    // long game at the top or bottom level holds a few nodes, not one a puzzle.
    if (results.count > kJudgedResults) results.Remove(results.head->item);
    if (results.count < kJudgedResults) return;
    int successes = 0;
    for (int32_t i = 0; i < results.count; ++i)
        if (results.ItemAt(i) != 0) ++successes;
    int32_t moved = level;
    if (successes >= 4 && level < kHighestLevel)
        ++moved;
    else if (successes <= 1 && level > kLowestLevel)
        --moved;
    if (moved == level) return;
    level = moved;
    WriteValue("level", level);
    results.Clear();
}

void SettingsStore::SetLevel(int32_t newLevel) {
    if (newLevel < kLowestLevel || newLevel > kHighestLevel) return;
    if (newLevel != level) {
        levelChanged = 1;
        results.Clear();
    }
    level = newLevel;
    WriteValue("level", level);
}

void SettingsStore::AwardLevelPoints() {
    // Widened so that no sum can overflow before it is held to the range a
    // stored score is accepted in.
    int64_t sum = int64_t{score} + levelPoints;
    if (sum > kHighestScore) sum = kHighestScore;
    if (sum < 0) sum = 0;
    score = static_cast<int32_t>(sum);
    levelPoints = kFullLevelPoints;
    WriteValue("score", score);
}

void SettingsStore::SetAutoAdjust(bool on) {
    autoAdjust = on ? 1 : 0;
    WriteValue("auto", on ? 0 : 1);
}

}  // namespace pw
