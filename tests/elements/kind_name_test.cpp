// An alert names an object without an ID text by its kind: every kind has a name of its own.
#include "InProcessHost.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/KindName.hpp"
#include "foundation/Language.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kind_name_test {

class KindNameTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Attach());
    }
};

TEST_F(KindNameTest, EveryKindHasANameOfItsOwnInEveryLanguage) {
    for (int16_t language = 0; language < LanguageCount; ++language) {
        LanguageIndex = language;
        std::set<std::string> names;
        for (int32_t kind = ElemKind_Point; kind <= ElemKind_Railway; ++kind) {
            if (kind == ElemKind_Unused17) continue;
            const QV_String name = KindName(kind);
            EXPECT_TRUE(IsResText(name)) << kind;
            EXPECT_FALSE(name.IsEmpty()) << kind;
            EXPECT_TRUE(names.insert(name.ToStdString()).second) << kind << " shares its name";
        }
    }
    LanguageIndex = LanguageEnglish;
    EXPECT_EQ(KindName(ElemKind_Section).ToStdString(), "Road section");
}

}  // namespace kind_name_test
