#include "storage/Collation.h"

#include <unicode/ucol.h>

#include <memory>
#include <vector>

#include "storage/Cp1252.h"
#include "storage/StorageError.h"

namespace velmaro {

namespace {

struct CollatorCloser {
    void operator()(UCollator* c) const { ucol_close(c); }
};

UCollator* Collator() {
    static std::unique_ptr<UCollator, CollatorCloser> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open("pt_BR", &status);
        if (U_FAILURE(status)) {
            throw StorageError("Não foi possível abrir a ordenação pt_BR");
        }
        ucol_setStrength(c, UCOL_SECONDARY);
        return std::unique_ptr<UCollator, CollatorCloser>(c);
    }();
    return collator.get();
}

// Windows-1252 maps only to the Basic Multilingual Plane: one UTF-16 unit a byte.
void ToUtf16(std::string_view text, std::vector<UChar>& out) {
    out.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        out[i] = static_cast<UChar>(Cp1252ToCodePoint(static_cast<unsigned char>(text[i])));
    }
}

// The conversion buffers are kept between calls, up to a size: a huge text (a damaged
// file's line) does not keep its buffer for the rest of the run.
void Trim(std::vector<UChar>& buffer) {
    constexpr size_t kKept = 64 * 1024;
    if (buffer.capacity() > kKept) {
        std::vector<UChar>().swap(buffer);
    }
}

}  // namespace

int CompareText(std::string_view a, std::string_view b) {
    thread_local std::vector<UChar> ua;
    thread_local std::vector<UChar> ub;
    ToUtf16(a, ua);
    ToUtf16(b, ub);
    const auto r = ucol_strcoll(Collator(), ua.data(), static_cast<int32_t>(ua.size()), ub.data(),
                                static_cast<int32_t>(ub.size()));
    Trim(ua);
    Trim(ub);
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

bool TextEquals(std::string_view a, std::string_view b) {
    return CompareText(a, b) == 0;
}

std::string CollationKey(std::string_view text) {
    thread_local std::vector<UChar> u;
    ToUtf16(text, u);
    std::string key(text.size() * 2 + 16, '\0');
    for (;;) {
        const int32_t n = ucol_getSortKey(Collator(), u.data(), static_cast<int32_t>(u.size()),
                                          reinterpret_cast<uint8_t*>(key.data()),
                                          static_cast<int32_t>(key.size()));
        if (static_cast<size_t>(n) <= key.size()) {
            key.resize(n > 0 ? static_cast<size_t>(n) - 1 : 0);  // drop the final NUL
            Trim(u);
            return key;
        }
        key.resize(static_cast<size_t>(n));
    }
}

}  // namespace velmaro
