// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/errors.h"
#include "core/hresult.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace vendle;

TEST(HResultName, NamesFirstMatchingRow) {
    EXPECT_EQ(HResultName(0), "S_OK");
    EXPECT_EQ(HResultName(1), "S_FALSE");
    EXPECT_EQ(HResultName(0x80004001u), "E_NOTIMPL");
    EXPECT_EQ(HResultName(0x8007000Eu), "E_OUTOFMEMORY");
    EXPECT_EQ(HResultName(0x8000FFFFu), "E_UNEXPECTED");
    // Range markers come first and share their value with the first code of the range.
    EXPECT_EQ(HResultName(0x80040000u), "OLE_E_FIRST");
    EXPECT_EQ(HResultName(0x80040110u), "CLASSFACTORY_E_FIRST");
    EXPECT_EQ(HResultName(0x80030112u), "STG_E_NOTSIMPLEFORMAT");
    EXPECT_EQ(HResultName(0x80020009u), "DISP_E_EXCEPTION");
    EXPECT_EQ(HResultName(0x12345678u), "[UNKNOWN]");
}

TEST(HResultName, TableShapeIsAsShipped) {
    const auto rows = HResultNames();
    ASSERT_EQ(rows.size(), 400u);
    EXPECT_STREQ(rows.front().name, "E_UNEXPECTED");
    EXPECT_STREQ(rows.back().name, "STG_E_NOTSIMPLEFORMAT");
    // The nine generic codes appear twice, with the same values.
    for (std::size_t i = 1; i <= 9; ++i) {
        EXPECT_STREQ(rows[i].name, rows[i + 9].name);
        EXPECT_EQ(rows[i].value, rows[i + 9].value);
    }
    std::set<std::string> names;
    for (const auto& row : rows)
        names.insert(row.name);
    EXPECT_EQ(names.size(), 391u); // 400 rows less the nine repeats
}

TEST(TraceException, BothMessageForms) {
    EXPECT_EQ(TraceException::message("src/app/main.cpp", 42),
              "QVZ:Exception occured at src/app/main.cpp(42).");
    EXPECT_EQ(TraceException::message("lib.cpp", 7, 0), "QVZ:Exception occured at lib.cpp(7)<0>.");
    EXPECT_EQ(TraceException::message("lib.cpp", 7, -2147467259L),
              "QVZ:Exception occured at lib.cpp(7)<-2147467259>.");
}

TEST(TraceException, MacrosRecordTheRaisingLine) {
    int line = 0;
    try {
        line = __LINE__ + 1;
        VENDLE_TRACE();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), TraceException::message(__FILE__, line));
    }
    ASSERT_NE(line, 0);
    try {
        line = __LINE__ + 1;
        VENDLE_TRACE_CODE(5);
    } catch (const TraceException& e) {
        EXPECT_EQ(std::string(e.what()), TraceException::message(__FILE__, line, 5));
        return;
    }
    FAIL() << "nothing raised";
}
