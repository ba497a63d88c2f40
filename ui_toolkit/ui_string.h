// CDuiString: the toolkit's UTF-16 text type, a thin wrapper over std::wstring.
#pragma once

#include <windows.h>

#include <string>

namespace DuiLib {

class CDuiString {
public:
    CDuiString() = default;
    CDuiString(const wchar_t* text) : text_(text ? text : L"") {}  // NOLINT: implicit like LPCTSTR
    CDuiString(const std::wstring& text) : text_(text) {}          // NOLINT
    CDuiString(const wchar_t* text, int length) : text_(text, static_cast<size_t>(length)) {}

    int GetLength() const { return static_cast<int>(text_.size()); }
    bool IsEmpty() const { return text_.empty(); }
    void Empty() { text_.clear(); }
    const wchar_t* GetData() const { return text_.c_str(); }
    operator const wchar_t*() const { return text_.c_str(); }  // NOLINT
    const std::wstring& Str() const { return text_; }
    wchar_t GetAt(int index) const { return text_[static_cast<size_t>(index)]; }

    void Append(const wchar_t* text) { text_ += text ? text : L""; }
    void Assign(const wchar_t* text, int length = -1) {
        text_ = length < 0 ? std::wstring(text ? text : L"") : std::wstring(text, length);
    }
    CDuiString& operator=(const wchar_t* text) {
        text_ = text ? text : L"";
        return *this;
    }
    CDuiString& operator+=(const CDuiString& other) {
        text_ += other.text_;
        return *this;
    }
    CDuiString& operator+=(const wchar_t* text) {
        Append(text);
        return *this;
    }
    friend CDuiString operator+(const CDuiString& a, const CDuiString& b) {
        return CDuiString(a.text_ + b.text_);
    }
    bool operator==(const wchar_t* text) const { return text_ == (text ? text : L""); }
    bool operator!=(const wchar_t* text) const { return !(*this == text); }
    bool operator==(const CDuiString& other) const { return text_ == other.text_; }
    bool operator<(const CDuiString& other) const { return text_ < other.text_; }

    int Compare(const wchar_t* text) const { return text_.compare(text ? text : L""); }
    int CompareNoCase(const wchar_t* text) const { return lstrcmpiW(text_.c_str(), text ? text : L""); }
    void MakeLower() { CharLowerBuffW(&text_[0], static_cast<DWORD>(text_.size())); }
    void MakeUpper() { CharUpperBuffW(&text_[0], static_cast<DWORD>(text_.size())); }
    CDuiString Left(int length) const { return CDuiString(text_.substr(0, static_cast<size_t>(length))); }
    CDuiString Mid(int start, int length = -1) const {
        return CDuiString(text_.substr(static_cast<size_t>(start),
                                       length < 0 ? std::wstring::npos : static_cast<size_t>(length)));
    }
    int Find(const wchar_t* what, int start = 0) const {
        const size_t at = text_.find(what, static_cast<size_t>(start));
        return at == std::wstring::npos ? -1 : static_cast<int>(at);
    }

private:
    std::wstring text_;
};

}  // namespace DuiLib
