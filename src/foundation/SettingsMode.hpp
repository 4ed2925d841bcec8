#pragma once
// What a settings dialog is asked for, as its owner tells it and its mode header shows it: a tool's defaults, the
// creation of an element, or the editing of the selected elements, with how many they are.
#include <cstdint>

class SettingsMode {
public:
    enum Kind : int16_t {
        ToolDefaults = 1,  // a tool's defaults
        NewElement = 2,    // the creation of an element
        EditSelected = 3,  // the editing of the selected elements
    };

    // `SettingsMode::NewElement` and the like; an edit without its count edits none.
    constexpr SettingsMode(Kind kind = ToolDefaults) : kind_(kind) {}
    // The editing of `count` selected elements.
    static constexpr SettingsMode Editing(int32_t count) { return SettingsMode(EditSelected, count); }

    constexpr Kind kind() const { return kind_; }
    // How many elements the dialog edits together (0 unless an edit).
    constexpr int32_t editedCount() const { return editedCount_; }

    // The same question, whatever the count.
    friend constexpr bool operator==(SettingsMode a, SettingsMode b) { return a.kind_ == b.kind_; }
    friend constexpr bool operator!=(SettingsMode a, SettingsMode b) { return a.kind_ != b.kind_; }

private:
    constexpr SettingsMode(Kind kind, int32_t count) : kind_(kind), editedCount_(count) {}

    Kind kind_;
    int32_t editedCount_ = 0;
};
