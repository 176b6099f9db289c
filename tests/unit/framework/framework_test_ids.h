// Ids of the test dialog.
#pragma once

#define IDD_TEST_DIALOG 500
#define IDC_TEST_GO 501
#define IDC_TEST_TEXT 502
#define IDC_TEST_PROGRESS 503
