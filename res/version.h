// What setup.exe's version resource says of it: the product and version of the sample setup.ini
// (AppName, CompanyName, Version), which inventories and application-control rules read.
#pragma once

#define SETUP_COMPANY_NAME "Korvane Technology Corp."
#define SETUP_PRODUCT_NAME "Korvane HW RAID Manager"
// Version 1.00.00: the numbers that version comparisons read, and the text as the installed
// programs list shows it (DisplayVersion).
#define SETUP_VERSION_NUMBERS 1, 0, 0, 0
#define SETUP_VERSION_TEXT "1.00.00"
