#pragma once
// The language dialog: the user picks the interface language, stored in the shared configuration file.
#include "foundation/QV_String.hpp"

#include <cstdint>

// The language dialog (32734). True when it was closed with OK; a changed language is then stored in the
// shared configuration file and becomes the language index. A language that cannot be stored shows error 49
// and leaves everything as it was (false). The title is the product name "Lodravix"; the version line, when
// not empty, is shown in the dialog under the restart note.
bool ShowLanguageDialog(const QV_String& versionLine = QV_String());
// The dialog's callback (dialog manager messages 1 init, 3 close, 4 click, 6 change); userData points to the
// dialog's own data, which ShowLanguageDialog sets up.
int16_t LanguageDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                               intptr_t messageData);
