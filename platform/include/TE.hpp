// The host's text engine fonts, as the dialogs name them for rich-edit previews: a family by name and a font
// of that family in a size and style. Nothing is measured or rendered here.
#pragma once

#include "UniString.hpp"

#include <cstdint>

namespace TE {

class FontFamily {
public:
    FontFamily() = default;
    explicit FontFamily(const GS::UniString& name) : name_(name) {}
    const GS::UniString& GetName() const { return name_; }

private:
    GS::UniString name_;
};

class Font {
public:
    enum Style : int32_t { Plain = 0, Bold = 1, Italic = 2, Underline = 4 };

    Font() = default;
    Font(const FontFamily& family, double size, int32_t style = Plain) : family_(family), size_(size), style_(style) {}
    const FontFamily& GetFamily() const { return family_; }
    double GetSize() const { return size_; }
    int32_t GetStyle() const { return style_; }

private:
    FontFamily family_;
    double size_ = 0.0;
    int32_t style_ = Plain;
};

}  // namespace TE
