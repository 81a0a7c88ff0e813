// The one result shape of the core: a value or the error that prevented it.
#pragma once

#include <optional>
#include <utility>
#include <variant>

#include "base/fileerror.h"

namespace tav {

// Either a `T` or the FileError (file and reason) that kept it from being made. Test it before
// taking the value: `if (const auto bytes = ReadSomething()) { use(*bytes); } else { show
// bytes.Error(); }`. Taking the value of an error (or the error of a value) is a programming
// fault and throws std::bad_variant_access.
template <typename T>
class [[nodiscard]] Expected final {
public:
    Expected(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Expected(FileError error) : m_state(std::in_place_index<1>, std::move(error)) {}

    explicit operator bool() const { return m_state.index() == 0; }
    bool HasValue() const { return m_state.index() == 0; }

    T& operator*() & { return std::get<0>(m_state); }
    const T& operator*() const& { return std::get<0>(m_state); }
    T&& operator*() && { return std::get<0>(std::move(m_state)); }
    T* operator->() { return &std::get<0>(m_state); }
    const T* operator->() const { return &std::get<0>(m_state); }

    const FileError& Error() const { return std::get<1>(m_state); }

private:
    std::variant<T, FileError> m_state;
};

// The result of an operation that gives nothing back but may fail: true when it succeeded.
template <>
class [[nodiscard]] Expected<void> final {
public:
    Expected() = default;
    Expected(FileError error) : m_error(std::move(error)) {}

    explicit operator bool() const { return !m_error; }
    bool HasValue() const { return !m_error; }
    const FileError& Error() const { return *m_error; }

private:
    std::optional<FileError> m_error;
};

using Status = Expected<void>;

}  // namespace tav
