// The module's two exports and the guards of its host-interface layer: nothing runs before the host's table
// has arrived, a missing table entry answers 0x81060387, and the context word lives from Initialize to FreeData.
#include "StandinHost.hpp"
#include "TestSupport.hpp"
#include "foundation/ACAPI.hpp"

#include <gtest/gtest.h>

#include <cstring>

namespace module_boundary_test {

API_EntryTable Entries() {
    API_EntryTable table;
    std::memset(&table, 0xAB, sizeof table);
    EXPECT_EQ(GetExportedFuncAddrs(&table, sizeof table), NoError);
    return table;
}

// Every host function the module wraps, called once; each answer is collected.
std::vector<GSErrCode> CallEveryWrapper() {
    API_ModulData data = {};
    API_ServerApplicationInfo appl = {};
    API_MenuItemText itemText = {};
    API_ModulID mdid = {1, 2};
    return {ACAPI_KeepInMemory(true),
            ACAPI_Register_Menu(32501, 0, 0, 0),
            ACAPI_Install_MenuHandler(32501, [](const API_MenuParams*) { return NoError; }),
            ACAPI_Register_BuiltInLibrary(),
            ACAPI_Notify_CatchProjectEvent(-1, [](int32_t, int32_t) { return NoError; }),
            ACAPI_Notify_CatchNewElement(nullptr, [](const API_NotifyElementType*) { return NoError; }),
            ACAPI_Notify_InstallElementObserver([](const API_NotifyElementType*) { return NoError; }),
            ACAPI_Notify_CatchToolChange([](const API_ToolBoxItem*) { return NoError; }),
            ACAPI_ModulData_Store(&data),
            ACAPI_ModulData_Get(&data),
            ACAPI_ModulData_Delete(),
            ACAPI_RegisterModelessWindow(
                32400, [](int32_t, int32_t, intptr_t) { return NoError; }, 71),
            ACAPI_UnregisterModelessWindow(32400),
            ACAPI_Command_Test(&mdid, APICmd_SuiteID, 0),
            ACAPI_Environment(APIEnv_ApplicationID, &appl),
            ACAPI_Interface(APIIo_SetMenuItemTextID, &itemText),
            ACAPI_WriteReport("x")};
}

TEST(ModuleBoundary, EntryTableLayout) {
    const API_EntryTable table = Entries();
    EXPECT_EQ(table.version, API_EntryTableVersion);
    EXPECT_NE(table.checkEnvironment, nullptr);
    EXPECT_NE(table.registerInterface, nullptr);
    EXPECT_NE(table.initialize, nullptr);
    EXPECT_NE(table.freeData, nullptr);
    EXPECT_EQ(table.closingWord, 25000);
    API_EntryTable small;
    EXPECT_EQ(GetExportedFuncAddrs(&small, sizeof small - 1), APIERR_BADPARS);
    EXPECT_EQ(GetExportedFuncAddrs(nullptr, sizeof small), APIERR_BADPARS);
}

TEST(ModuleBoundary, NothingRunsBeforeTheTableArrives) {
    if (HostInterface::TableArrived()) GTEST_SKIP() << "needs a process of its own (ctest runs it so)";
    const API_EntryTable table = Entries();
    API_EnvirParams envir = {};
    envir.serverApplication = APIAppl_Host;
    EXPECT_EQ(table.checkEnvironment(&envir), 0);
    EXPECT_EQ(envir.addOnInfo.name[0], '\0');
    EXPECT_EQ(table.registerInterface(), APIERR_GENERAL);
    EXPECT_EQ(table.initialize(77), APIERR_GENERAL);
    EXPECT_EQ(HostInterface::ContextWord(), 0u);
    EXPECT_EQ(table.freeData(), APIERR_GENERAL);
    EXPECT_FALSE(HostInterface::TableArrived());
    for (const GSErrCode err : CallEveryWrapper()) EXPECT_EQ(err, APIERR_MISSINGHOSTFUNC);
    EXPECT_EQ(ACAPI_GetOwnResModule(), InvalidResModule);
}

TEST(ModuleBoundary, NullEntriesAnswerMissingAfterTheTableArrived) {
    API_HostFunctionTable empty = {};
    empty.structSize = sizeof empty;
    ASSERT_EQ(SetImportedFuncAddrs(&empty), NoError);
    EXPECT_TRUE(HostInterface::TableArrived());
    for (const GSErrCode err : CallEveryWrapper()) EXPECT_EQ(err, APIERR_MISSINGHOSTFUNC);
    EXPECT_EQ(ACAPI_GetOwnResModule(), InvalidResModule);
    // The entry points now run; they meet the missing entries.
    const API_EntryTable table = Entries();
    EXPECT_EQ(table.registerInterface(), APIERR_MISSINGHOSTFUNC);
}

TEST(ModuleBoundary, RefusesNoTableAndTruncatedHeaders) {
    if (HostInterface::TableArrived()) GTEST_SKIP() << "needs a process of its own (ctest runs it so)";
    EXPECT_EQ(SetImportedFuncAddrs(nullptr), APIERR_BADPARS);
    API_HostFunctionTable tiny = {};
    tiny.structSize = 4;
    EXPECT_EQ(SetImportedFuncAddrs(&tiny), APIERR_BADPARS);
    EXPECT_FALSE(HostInterface::TableArrived());
}

GSErrCode CountingKeepInMemory(bool) { return GSErrCode(0x12); }

TEST(ModuleBoundary, EntriesPastTheHostsTableSizeStayNull) {
    // A host built before an entry existed hands over a shorter table: the module must not read past it.
    API_HostFunctionTable table = {};
    table.KeepInMemory = CountingKeepInMemory;
    table.WriteReport = [](const char*) { return GSErrCode(0x34); };
    table.structSize = uint32_t(offsetof(API_HostFunctionTable, WriteReport));
    ASSERT_EQ(SetImportedFuncAddrs(&table), NoError);
    EXPECT_EQ(ACAPI_KeepInMemory(true), 0x12);
    EXPECT_EQ(ACAPI_WriteReport("x"), APIERR_MISSINGHOSTFUNC);
}

uint64_t g_contextSeen = 0;
GSErrCode RecordContext(const API_ModulID*, int32_t, int32_t) {
    g_contextSeen = HostInterface::ContextWord();
    return APIERR_GENERAL;
}

TEST(ModuleBoundary, ContextWordLivesFromInitializeToFreeData) {
    API_HostFunctionTable table = {};
    table.structSize = sizeof table;
    table.Command_Test = RecordContext;  // Initialize asks it whether the suite is there
    ASSERT_EQ(SetImportedFuncAddrs(&table), NoError);
    const API_EntryTable entries = Entries();
    EXPECT_EQ(HostInterface::ContextWord(), 0u);
    entries.initialize(0xC0FFEE0012345678ull);
    EXPECT_EQ(g_contextSeen, 0xC0FFEE0012345678ull);
    EXPECT_EQ(HostInterface::ContextWord(), 0xC0FFEE0012345678ull);
    EXPECT_EQ(entries.freeData(), NoError);
    EXPECT_EQ(HostInterface::ContextWord(), 0u);
}

TEST(ModuleBoundary, HostPassesItsContextWord) {
    HostSettings settings;
    settings.moduleDir = TestSupport::BinDir();
    settings.userFolder = TestSupport::UserFolder();
    StandinHost host(settings);
    host.UseInProcess({GetExportedFuncAddrs, SetImportedFuncAddrs});
    ASSERT_TRUE(host.Load());
    EXPECT_NE(host.ContextWordGiven(), 0u);
    EXPECT_EQ(HostInterface::ContextWord(), host.ContextWordGiven());
    ASSERT_TRUE(host.Release());
    EXPECT_EQ(HostInterface::ContextWord(), 0u);
}

TEST(ModuleBoundary, UnknownSelectorsAndWrongRecordsAreRefused) {
    HostSettings settings;
    settings.moduleDir = TestSupport::BinDir();
    settings.userFolder = TestSupport::UserFolder();
    StandinHost host(settings);
    API_ServerApplicationInfo info = {};
    EXPECT_EQ(
        HostInterface::CallSelector(host.Table().Environment, API_Selector("ZZZZ"), &info, sizeof info, nullptr, 0),
        APIERR_BADPARS);
    ASSERT_EQ(host.RefusedSelectors().size(), 1u);
    EXPECT_EQ(host.RefusedSelectors()[0], "Environment 'ZZZZ'");
    // 'APPL' with a record of another size.
    EXPECT_EQ(
        HostInterface::CallSelector(host.Table().Environment, API_Selector("APPL"), &info, sizeof info - 4, nullptr, 0),
        APIERR_BADPARS);
    EXPECT_EQ(
        HostInterface::CallSelector(host.Table().Environment, API_Selector("APPL"), nullptr, sizeof info, nullptr, 0),
        APIERR_BADPARS);
    EXPECT_EQ(host.Errors().size(), 2u);
    // The right record.
    host.Settings().language = "GER";
    ASSERT_EQ(
        HostInterface::CallSelector(host.Table().Environment, API_Selector("APPL"), &info, sizeof info, nullptr, 0),
        NoError);
    EXPECT_EQ(info.mainVersion, 25);
    EXPECT_STREQ(info.language, "GER");
    // A language code longer than the record's field is cut, never overrun.
    host.Settings().language = std::string(100, 'x');
    ASSERT_EQ(
        HostInterface::CallSelector(host.Table().Environment, API_Selector("APPL"), &info, sizeof info, nullptr, 0),
        NoError);
    EXPECT_EQ(std::strlen(info.language), sizeof info.language - 1);
}

TEST(ModuleBoundary, ModuleDataRoundTripsThroughTheProject) {
    HostSettings settings;
    settings.moduleDir = TestSupport::BinDir();
    settings.userFolder = TestSupport::UserFolder();
    StandinHost host(settings);
    API_ModulData info = {};
    EXPECT_EQ(host.ModulDataGet(&info, ""), APIERR_NOMODULEDATA);
    EXPECT_EQ(host.ModulDataDelete(""), APIERR_NOMODULEDATA);
    GSHandle h = BMAllocateHandle(5, 0, 0);
    ASSERT_NE(h, nullptr);
    std::memcpy(*h, "abc\0", 5);
    info.dataVersion = 1;
    info.platformSign = 0x5757;
    info.dataHdl = h;
    ASSERT_EQ(host.ModulDataStore(&info, ""), NoError);
    BMKillHandle(&h);
    API_ModulData back = {};
    ASSERT_EQ(host.ModulDataGet(&back, ""), NoError);
    EXPECT_EQ(back.dataVersion, 1);
    EXPECT_EQ(back.platformSign, 0x5757);
    ASSERT_EQ(BMGetHandleSize(back.dataHdl), 5);
    EXPECT_STREQ(*back.dataHdl, "abc");
    BMKillHandle(&back.dataHdl);
    EXPECT_EQ(host.ModulDataDelete(""), NoError);
}

}  // namespace module_boundary_test
