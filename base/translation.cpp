#include "base/translation.h"

#include <atomic>

namespace tav {

namespace {

std::atomic<TranslationHook> g_hook{nullptr};

}  // namespace

std::string Translate(const char* context, const char* text) {
    if (const TranslationHook hook = g_hook.load(std::memory_order_acquire)) {
        std::string translated = hook(context, text);
        if (!translated.empty()) {
            return translated;
        }
    }
    return text;
}

std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const std::size_t number = static_cast<std::size_t>(next - '0');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && number <= args.size()) {
            out += *(args.begin() + (number - 1));
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

void SetTranslationHook(TranslationHook hook) {
    g_hook.store(hook, std::memory_order_release);
}

}  // namespace tav
