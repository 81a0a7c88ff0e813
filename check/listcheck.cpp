// The checks of the two lists a document keeps in single keys: Order lists and the replacement
// list.
#include "check/listcheck.h"

#include <set>

#include "base/names.h"
#include "base/translation.h"
#include "document/documentrules.h"
#include "document/documenttable.h"

namespace tav::check {

namespace {

// "[NAME]", appended piece by piece: g++ 12 at -O3 warns (-Wrestrict, a known false positive)
// about "literal" + std::string.
std::string SectionPlace(std::string_view name) {
    std::string place(1, '[');
    place.append(name);
    place += ']';
    return place;
}

// What is wrong with one item of an Order list that is not a repeat, or nothing.
std::optional<std::string> OrderItemProblem(const std::string& item,
                                            const std::vector<std::string>& orderedKeys,
                                            const std::string& where) {
    if (item.empty()) {
        return FillIn(Translate("Check", "the Order list of %1 holds an empty item"), {where});
    }
    for (const std::string& key : orderedKeys) {
        if (key == item) {
            return std::nullopt;
        }
        if (SameName(key, item)) {
            return FillIn(Translate("Check",
                                    "the Order list of %1 names %2, but the key is %3: "
                                    "the list compares exactly"),
                          {where, Quote(item), key});
        }
    }
    return FillIn(Translate("Check",
                            "the Order list of %1 names %2, which is not an ordered field "
                            "of that section"),
                  {where, Quote(item)});
}

// Checks each item of the Order list at `order`; returns the items it names.
std::set<std::string> CheckOrderItems(const DocumentCheck& check, const ListedSection& listed,
                                      const ListedKey& order,
                                      const std::vector<std::string>& orderedKeys) {
    const std::string where = SectionPlace(listed.name);
    std::set<std::string> named;
    for (const std::string& item : OrderListItems(order.Value())) {
        if (!named.insert(item).second) {
            check.out.Add(order.line, FillIn(Translate("Check",
                                                       "the Order list of %1 names %2 "
                                                       "twice: only the first counts"),
                                             {where, Quote(item)}));
        } else {
            check.out.AddIf(order.line, OrderItemProblem(item, orderedKeys, where));
        }
    }
    return named;
}

// What is wrong with entry key `n` (its line is `key`) when the list holds `end` entries.
std::optional<std::string> EntryKeyProblem(const FirstKeys& keys, const ListedKey& key,
                                           std::size_t n, std::size_t end) {
    const std::string endKey = ReplacementKey(end);
    if (n < end) {
        return std::nullopt;
    }
    if (n >= DocumentTable::kMaxReplacements) {
        return FillIn(Translate("Check",
                                "the key %1 would hold entry %2, past the 13 entries a "
                                "replacement list can hold: it is never read"),
                      {key.name, std::to_string(n + 1)});
    }
    if (n == end) {
        const std::string_view value = key.Value();
        return value.empty() ? std::nullopt
                             : std::optional<std::string>(
                                   FillIn(Translate("Check",
                                                    "%1 holds %2 without a comma: it ends "
                                                    "the replacement list, and a save "
                                                    "empties it"),
                                          {key.name, Quote(value)}));
    }
    // A save writes a list of k entries as r0 ... r(k-1) and the empty end key rk: key n is
    // written over as soon as the list has n entries.
    const std::string count = std::to_string(n);
    if (keys.Find(endKey) == nullptr) {
        return FillIn(Translate("Check",
                                "%1 is not read: the replacement list stops at the "
                                "missing %2, and a save overwrites it once the list has "
                                "%3 entries or more"),
                      {key.name, endKey, count});
    }
    return FillIn(Translate("Check",
                            "%1 comes after the end of the replacement list (%2): it is "
                            "not read, and a save overwrites it once the list has %3 "
                            "entries or more"),
                  {key.name, endKey, count});
}

// The number of entries a reader takes from the section of `keys`: up to the first without a
// comma.
std::size_t ReadableEntries(const FirstKeys& keys) {
    std::size_t n = 0;
    for (; n < DocumentTable::kMaxReplacements; ++n) {
        const ListedKey* entry = keys.Find(ReplacementKey(n));
        if (entry == nullptr || !ParseReplacementEntry(entry->Value())) {
            break;
        }
    }
    return n;
}

}  // namespace

FirstKeys::FirstKeys(const ListedSection& section)
    : m_section(section), m_hashes(section.keys.size()), m_isFirst(section.keys.size()) {
    std::size_t slots = 16;
    while (slots < section.keys.size() * 2) {
        slots *= 2;
    }
    m_slots.assign(slots, 0);
    const std::size_t mask = slots - 1;
    for (std::size_t i = 0; i < section.keys.size(); ++i) {
        m_hashes[i] = static_cast<std::uint32_t>(NameHash(section.keys[i].name));
    }
    // The slots a large table is asked for lie all over memory: each is fetched a few keys ahead,
    // so that the waits for them overlap.
    constexpr std::size_t kAhead = 16;
    for (std::size_t i = 0; i < section.keys.size(); ++i) {
        if (i + kAhead < section.keys.size()) {
            __builtin_prefetch(&m_slots[m_hashes[i + kAhead] & mask]);
        }
        const std::string_view name = section.keys[i].name;
        std::size_t slot = m_hashes[i] & mask;
        for (; m_slots[slot] != 0; slot = (slot + 1) & mask) {
            const std::size_t k = m_slots[slot] - 1;
            if (m_hashes[k] == m_hashes[i] && SameName(section.keys[k].name, name)) {
                break;  // a later key of a name is not the key
            }
        }
        if (m_slots[slot] == 0) {
            m_slots[slot] = static_cast<std::uint32_t>(i + 1);
            m_isFirst[i] = true;
        }
    }
}

const ListedKey* FirstKeys::Find(std::string_view name) const {
    const auto hash = static_cast<std::uint32_t>(NameHash(name));
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask; m_slots[slot] != 0; slot = (slot + 1) & mask) {
        const std::size_t k = m_slots[slot] - 1;
        if (m_hashes[k] == hash && SameName(m_section.keys[k].name, name)) {
            return &m_section.keys[k];
        }
    }
    return nullptr;
}

bool FirstKeys::IsFirst(std::size_t index) const {
    return m_isFirst[index];
}

void CheckOrderList(const DocumentCheck& check, const ListedSection& listed, const FirstKeys& keys,
                    std::size_t sectionIndex) {
    if (!check.catalogues.sections[sectionIndex].ordered) {
        return;
    }
    const std::string where = SectionPlace(listed.name);
    const std::vector<std::string> orderedKeys = check.catalogues.OrderedKeys(sectionIndex);
    const ListedKey* order = keys.Find(kOrderKey);
    if (order == nullptr && !orderedKeys.empty()) {
        check.out.Add(listed.line,
                      FillIn(Translate("Check",
                                       "%1 has no Order key: its ordered fields show in "
                                       "catalogue order"),
                             {where}));
    }
    if (order == nullptr) {
        return;
    }
    const std::set<std::string> named = CheckOrderItems(check, listed, *order, orderedKeys);
    for (const std::string& key : orderedKeys) {
        if (named.count(key) == 0) {
            check.out.Add(order->line,
                          FillIn(Translate("Check",
                                           "the Order list of %1 does not name %2: the "
                                           "editor gives it position 1"),
                                 {where, key}));
        }
    }
}

void CheckReplacementList(const DocumentCheck& check, const ListedSection& listed,
                          const FirstKeys& keys) {
    const std::size_t end = ReadableEntries(keys);
    for (std::size_t i = 0; i < listed.keys.size(); ++i) {
        const ListedKey& key = listed.keys[i];
        if (!keys.IsFirst(i)) {
            continue;
        }
        if (SameName(key.name, "r") && !key.storedText.empty() && key.storedText.front() == '=') {
            check.out.Add(key.line, Translate("Check",
                                              "the line holds the key \"r=\" of a 14th replacement "
                                              "entry, which no reader can take apart: it reads as "
                                              "the key \"r\""));

        } else if (const auto n = ReplacementEntryNumber(key.name)) {
            check.out.AddIf(key.line, EntryKeyProblem(keys, key, *n, end));
        }
    }
    for (const std::string& warning : check.warnings) {
        check.out.Add(listed.line, warning);
    }
}

}  // namespace tav::check
