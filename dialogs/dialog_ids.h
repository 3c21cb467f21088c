/* Ids of the installer's dialog templates and their controls. Plain
   defines, because the resource compiler reads this file too. */
#ifndef ZX_DIALOGS_DIALOG_IDS_H
#define ZX_DIALOGS_DIALOG_IDS_H

#define IDD_SELECT_DIR 103
#define IDD_PROGRESS 104

/* Template 103, the destination folder. */
#define IDC_DIRECTORY 1000
#define IDC_BROWSE 3

/* Template 104, the progress dialog. */
#define IDC_PROGRESS_BAR 1000
#define IDC_PROGRESS_STATUS 1001

#endif
