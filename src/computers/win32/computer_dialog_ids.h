// Identifiers of frmBrowseComputer's template and controls, shared by the
// resource script and the view.
#pragma once

#define IDD_BROWSE_COMPUTER 300
#define IDC_COMPUTER_FRAME 301
#define IDC_TXT_COMPUTER 302
#define IDC_TXT_USER_NAME 303
#define IDC_TXT_PASSWORD 304
#define IDC_CMD_BROWSE 305
#define IDC_CMD_ADD 306
#define IDC_CMD_DELETE 307
#define IDC_CMD_SAME_USER 308
#define IDC_CMD_IMPORT 309
#define IDC_CMD_EXPORT 310
#define IDC_CHK_SELECT_ALL 311
#define IDC_LVW_COMPUTER 312
#define IDC_CMD_CLOSE 313
#define IDC_LINK_HOME 314
#define IDC_TXT_DUMMY 315
#define IDC_PIC_COMPUTER 316
#define IDC_LBL_COMPUTER 317
#define IDC_PBR_COMPUTER 318
#define IDC_CMD_CANCEL 319
