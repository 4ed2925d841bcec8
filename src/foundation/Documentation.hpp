#pragma once
// The add-on's manuals: PDF files in the folder "Documentation" beside the add-on's own file, one per language
// (the international one when the language's own is missing); opening one with the shell, the alert for a missing
// one, and the help dialog (32730) from which the manual is opened.
#include "foundation/QV_String.hpp"

#include <cstdint>

class QV_ToolsPlt;

constexpr int16_t HelpDialogId = 32730;

// Data of one run of the help dialog.
struct HelpDialogData {
    QV_String name;
    QV_String path;
    uint16_t result;
    uint32_t mode;
    QV_String text1;
    QV_String text2;
    QV_String text3;
    int32_t image1;
    int32_t image2;
    QV_String bodyText;
};

// The manual's path: "<folder of the add-on file>\Documentation\<prefix><name>[_<number1>][<number2>][suffix].pdf";
// a number of -1 is left out. When that file is missing and the language is not English, the "INT_" file.
void GetDocumentationPath(QV_String& outPath, const QV_String& name, int16_t number1, int16_t number2,
                          const QV_String& suffix);

// Opens the manual with the shell; a manual that cannot be opened gets an alert made of "Error", `messageText`
// and `messageName` (its first letter in lower case).
void OpenDocumentation(QV_ToolsPlt* palette, const QV_String& name, int16_t number1, int16_t number2,
                       const QV_String& messageName, const QV_String& messageText);

// The help dialog over the manual of `name`.
void ShowHelp(QV_ToolsPlt* palette, const QV_String& name, int16_t number1, int16_t number2, uint32_t mode,
              const QV_String& text1, const QV_String& text2, const QV_String& text3, int32_t image1, int32_t image2,
              const QV_String& bodyText);
// Runs the help dialog: 1 when it was closed with its first button, else 2.
int16_t ShowHelpDialog(const QV_String& name, const QV_String& path, uint32_t mode, const QV_String& text1,
                       const QV_String& text2, const QV_String& text3, int32_t image1, int32_t image2,
                       const QV_String& bodyText);

// "Error" (or "Warning"), `text`, then `name` with its first letter in lower (or upper) case; empty when `name` or
// `text` is empty. False when the resources could not give "Error" (or "Warning").
bool ComposeMessageText(QV_String& outText, const QV_String& name, bool isError, const QV_String& text,
                        bool lowerFirst);

// The dialog's callback (1 init, 4 click); userData points to its HelpDialogData.
int16_t HelpDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData, intptr_t messageData);
