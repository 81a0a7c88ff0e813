// Checks of one document against the catalogues: what the editor would not show, would show
// differently from what the file holds, or would change at the next save.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/textencoding.h"
#include "catalog/catalogues.h"
#include "check/finding.h"

namespace tav::check {

// Everything in the document file `bytes` (read from `path`, which the findings name) that
// disagrees with `catalogues`: sections and keys the catalogues do not describe, repeated sections
// and keys (readers see the first only), lines no reader takes, values the editor shows
// differently from the file (values holding a NUL byte, which readers cut there, included), Order
// lists that name unknown keys or miss ordered ones, and replacement lists that stop early, hold
// entries that are never read or do not fit into the editor's table, and texts that mix encodings
// (see MixesEncodings): one finding, at the first line whose texts do not show right in the
// document's encoding (`encoding` when given, else the one the bytes decide). Checks the file as
// the editor would open it, not a document edited since. Findings come in line order.
// Findings of a kind that comes once per section, key or line are listed up to kFindingsPerKind
// times (cataloguelines.h); a finding of the whole file at the end tells how many more there were.
// `sink` is told each finding as soon as it is known, so that memory stays that of one section.
// Returns how many problems were found, those not listed included (the count lines are none).
using FindingSink = std::function<void(const Finding&)>;
std::size_t CheckDocument(const Catalogues& catalogues, const std::string& path,
                          std::string_view bytes, std::optional<TextEncoding> encoding,
                          const FindingSink& sink);

// The same, with the findings returned.
Findings CheckDocument(const Catalogues& catalogues, const std::string& path,
                       std::string_view bytes, std::optional<TextEncoding> encoding = std::nullopt);

}  // namespace tav::check
