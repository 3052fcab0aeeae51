// Identifiers of the material's resources, shared by its resource script and its sources. Only
// #define lines: the resource compiler reads this file as well as the C++ compiler.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The panel page and its controls.
#define IDD_QZMMATERIAL_PANEL 101
#define IDC_SCROLLBAR 1004
#define IDC_ONLYACTIVESTAMP 1020
#define IDC_PASS_EDIT 1490
#define IDC_PASS_SPIN 1496

// Pass numbers of rows 0-14 run on from 1005; stamp frames from 1879.
#define IDC_PASSNUMBER_0 1005
#define IDC_STAMP_0 1879

// Slot buttons, rows 0-14.
#define IDC_SLOT_0 1497
#define IDC_SLOT_1 1499
#define IDC_SLOT_2 1501
#define IDC_SLOT_3 1557
#define IDC_SLOT_4 1505
#define IDC_SLOT_5 1507
#define IDC_SLOT_6 1509
#define IDC_SLOT_7 1511
#define IDC_SLOT_8 1513
#define IDC_SLOT_9 1515
#define IDC_SLOT_10 1517
#define IDC_SLOT_11 1519
#define IDC_SLOT_12 1521
#define IDC_SLOT_13 1523
#define IDC_SLOT_14 1525

// Label fields, rows 0-14.
#define IDC_LABEL_0 1503
#define IDC_LABEL_1 1558
#define IDC_LABEL_2 1559
#define IDC_LABEL_3 1504
#define IDC_LABEL_4 1560
#define IDC_LABEL_5 1561
#define IDC_LABEL_6 1506
#define IDC_LABEL_7 1562
#define IDC_LABEL_8 1563
#define IDC_LABEL_9 1508
#define IDC_LABEL_10 1564
#define IDC_LABEL_11 1565
#define IDC_LABEL_12 1510
#define IDC_LABEL_13 1566
#define IDC_LABEL_14 1567

// Strings.
#define IDS_LIBDESCRIPTION 1
#define IDS_CATEGORY 2
#define IDS_CLASS_NAME 3
#define IDS_PARAMS 4
#define IDS_WHICHPASS 5
#define IDS_MATERIALS 7
#define IDS_ACTIVESTAMPONLY 9
#define IDS_OFFSET 15
#define IDS_ENABLEOMATERIAL 19
#define IDS_NONE 24
#define IDS_LABELS 68
