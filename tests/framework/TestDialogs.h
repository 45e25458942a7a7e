// Test-only templates of the framework tests.
#pragma once

#define IDD_TEST_POPUP 200
#define IDD_TEST_CHILD 201
#define IDC_TEST_EDIT 300
#define IDC_TEST_ACTION 301
#define IDC_TEST_RANGE_FIRST 302
#define IDC_TEST_RANGE_LAST 304
#define IDS_TEST_FORMAT 420
