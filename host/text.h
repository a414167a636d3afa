// Texts are UTF-16 and live on the process heap, one block each, owned by a Text. The wide
// Win32 interfaces then see exactly the program's Chinese texts under any code page, and folder
// names that the ANSI code page cannot spell survive. Running out of memory is fatal.
#pragma once

#include <stddef.h>

#include <initializer_list>

// Takes `bytes` from the process heap; on failure ends the program through the fatal error path.
void* AllocateText(size_t bytes);
void ReleaseText(void* block);

class Text {
public:
    Text() = default;
    Text(Text&& o) noexcept : chars_(o.chars_), length_(o.length_) {
        o.chars_ = nullptr;
        o.length_ = 0;
    }
    Text& operator=(Text&& o) noexcept;
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    ~Text() { ReleaseText(chars_); }

    // A zeroed text of `length` characters, to be filled through Data().
    static Text OfLength(size_t length);
    static Text Copy(const wchar_t* chars, size_t length);
    static Text Copy(const wchar_t* chars);

    const wchar_t* Get() const { return chars_ ? chars_ : L""; }
    wchar_t* Data() { return chars_; }
    size_t Length() const { return length_; }
    bool Empty() const { return length_ == 0; }
    // Cuts the text at `length` characters (no larger than it is).
    void Truncate(size_t length);
    // Gives up the block, which the caller then owns; an empty text may have none.
    wchar_t* Release() {
        wchar_t* chars = chars_;
        chars_ = nullptr;
        length_ = 0;
        return chars;
    }

private:
    wchar_t* chars_ = nullptr;
    size_t length_ = 0;
};

size_t TextLength(const wchar_t* text);  // an absent text has length 0
bool TextContains(const wchar_t* text, wchar_t c);

// One new text made of the pieces in order, in a single allocation; absent pieces count as empty.
Text JoinTexts(std::initializer_list<const wchar_t*> pieces);
