#pragma once

#include <type_traits>

namespace Crypto {

// Runs operation and returns its result, or a default-constructed result if it throws: the
// contract of the cipher classes that end every failure quietly with an empty result.
template <typename Operation>
auto quietly(Operation &&operation) noexcept -> std::invoke_result_t<Operation>
{
    using Result = std::invoke_result_t<Operation>;
    try {
        return operation();
    } catch (...) {
        if constexpr (!std::is_void_v<Result>)
            return Result{};
    }
}

} // namespace Crypto
