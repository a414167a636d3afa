#include "host/text.h"

#include <windows.h>

#include "shell/frame.h"

void* AllocateText(size_t bytes) {
    void* block = HeapAlloc(GetProcessHeap(), 0, bytes);
    if (!block) {
        wchar_t message[64];
        wsprintfW(message, L"分配 %d 字节内存失败!", static_cast<int>(bytes));
        FatalError(message);
    }
    return block;
}

void ReleaseText(void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}

Text& Text::operator=(Text&& o) noexcept {
    if (this != &o) {
        ReleaseText(chars_);
        chars_ = o.chars_;
        length_ = o.length_;
        o.chars_ = nullptr;
        o.length_ = 0;
    }
    return *this;
}

Text Text::OfLength(size_t length) {
    Text text;
    text.chars_ = static_cast<wchar_t*>(AllocateText((length + 1) * sizeof(wchar_t)));
    for (size_t i = 0; i <= length; ++i) text.chars_[i] = 0;
    text.length_ = length;
    return text;
}

Text Text::Copy(const wchar_t* chars, size_t length) {
    Text text = OfLength(length);
    for (size_t i = 0; i < length; ++i) text.chars_[i] = chars[i];
    return text;
}

Text Text::Copy(const wchar_t* chars) { return Copy(chars, TextLength(chars)); }

void Text::Truncate(size_t length) {
    if (length >= length_) return;
    chars_[length] = 0;
    length_ = length;
}

size_t TextLength(const wchar_t* text) {
    size_t length = 0;
    if (text)
        while (text[length]) ++length;
    return length;
}

bool TextContains(const wchar_t* text, wchar_t c) {
    for (; text && *text; ++text)
        if (*text == c) return true;
    return false;
}

Text JoinTexts(std::initializer_list<const wchar_t*> pieces) {
    size_t total = 0;
    for (const wchar_t* piece : pieces) total += TextLength(piece);
    Text joined = Text::OfLength(total);
    wchar_t* out = joined.Data();
    for (const wchar_t* piece : pieces)
        for (const wchar_t* c = piece; c && *c; ++c) *out++ = *c;
    return joined;
}
