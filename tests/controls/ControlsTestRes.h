// Test-only templates and pictures of the control tests.
#pragma once

#define IDD_CONTROLS_TEST 500
#define IDC_TEST_PLAIN 510
#define IDC_TEST_NEXT 511
#define IDC_TEST_EDIT 512
#define IDC_TEST_DEFAULT 513
#define IDC_TEST_CHECK 514
#define IDC_TEST_MAIL 520
#define IDC_TEST_EMPTY_LINK 521
#define IDB_TEST_PRIMARY 530
#define IDB_TEST_RESTING 531
#define IDI_TEST_GREEN 532
#define IDC_TEST_CURSOR 533
#define IDB_TEST_MISSING 539
// The number the link label looks up in the library it takes its hand cursor from.
#define IDC_TEST_HAND 106
