#pragma once
// Numbers of the wizard's resources: dialogs, controls, strings, bitmaps, icons and cursors.
// They are shared with the language satellites, which carry the same numbers.

// Dialogs (the pages refer to one another by these).
#define IDD_INTRO 107
#define IDD_DOWNLOAD 108
#define IDD_PRODUCT_LIST 116
#define IDD_END 118
#define IDD_ERROR 123
#define IDD_INSTALL 124

// Bitmaps, icons and cursors.
#define IDB_HEADER 102
#define IDB_WATERMARK 103
#define IDB_HEADER_150 202 // the two at 150 and 200 % screen scaling
#define IDB_WATERMARK_150 203
#define IDB_HEADER_200 302
#define IDB_WATERMARK_200 303
#define IDI_PROGRAM 21
#define IDI_ERROR_PLACEHOLDER 121
#define IDI_FAILURE 149
#define IDI_SUCCESS 155
#define IDR_BUSY_ANIMATION 138
#define IDC_LINK_HAND 1031
// The public key that the version file's signature must match; only in builds made with one.
#define IDR_VERSION_FILE_KEY 201

// Controls.
#define IDC_TITLE 1000
#define IDC_INTRO_TEXT 1001
#define IDC_INTRO_NOTE 1042
#define IDC_PROGRESS_BAR 1012
#define IDC_STATUS_LINE 1013
#define IDC_REMAINING_LABEL 1015
#define IDC_PRODUCT_LIST 1017
#define IDC_RATE_LABEL 1018
#define IDC_SIZE_TEXT 1019
#define IDC_REMAINING_TIME 1020
#define IDC_TRANSFER_RATE 1021
#define IDC_ELAPSED_TIME 1022
#define IDC_ELAPSED_LABEL 1023
#define IDC_ERROR_TEXT 1027
#define IDC_INSTALL_ELAPSED 1029
#define IDC_INSTALL_CURRENT 1030
#define IDC_WEB_LINK 1031
#define IDC_OUTCOME_TEXT 1035
#define IDC_DOWNLOAD_ANIMATION 1036
#define IDC_ERROR_ICON 1037
#define IDC_INSTALL_ANIMATION 1038
#define IDC_DETAILS_GROUP 1044

// Strings.
#define IDS_PROGRESS 20
#define IDS_CHECKING_HOST 22
#define IDS_INSTALLED_PRODUCTS 23
#define IDS_CHOOSE_PRODUCTS 25
#define IDS_INSTALLED_UPDATES 27
#define IDS_CLICK_FINISH 28
#define IDS_WIZARD_TITLE 31
#define IDS_CHECKING_FOR_UPDATES 1000
#define IDS_DOWNLOADING_UPDATES 1001
#define IDS_DOWNLOADS_COMPLETE 1002
#define IDS_CANT_CONNECT 1004
#define IDS_DOWNLOADING_ITEM 1005
#define IDS_GATHERING_INFORMATION 1007
#define IDS_PACKAGE_REFUSED 1010
#define IDS_PACKAGE_TOO_LARGE 1011
#define IDS_PACKAGE_DAMAGED 1012
#define IDS_CANCEL_DOWNLOADING 5000
#define IDS_CANCELED_BY_USER 5002
#define IDS_FAILED 5003
#define IDS_UP_TO_DATE 5004
#define IDS_NO_UPDATES 5005
#define IDS_SUCCESSFUL 5006
#define IDS_CANT_UPDATE 5007
#define IDS_CLOSE_PRODUCT 5008
#define IDS_PRODUCT_NOT_FOUND 5009
#define IDS_USAGE 5010
#define IDS_NOT_UPDATED 5011
#define IDS_COLUMN_NAME 5500
#define IDS_COLUMN_VERSION 5501
#define IDS_COLUMN_BUILD 5502
#define IDS_COLUMN_DATE 5503
#define IDS_COLUMN_STATUS 5504
#define IDS_CD_VERSION 5510
#define IDS_CANCEL_INSTALLING 5511
// Durations as the download and install pages show them: one string for each pairing of
// singular and plural, in the order second(s), minute(s) second(s), hour(s) minute(s).
#define IDS_DURATION_SECOND 5600
#define IDS_DURATION_SECONDS 5601
#define IDS_DURATION_MINUTE_SECOND 5602
#define IDS_DURATION_MINUTE_SECONDS 5603
#define IDS_DURATION_MINUTES_SECOND 5604
#define IDS_DURATION_MINUTES_SECONDS 5605
#define IDS_DURATION_HOUR_MINUTE 5606
#define IDS_DURATION_HOUR_MINUTES 5607
#define IDS_DURATION_HOURS_MINUTE 5608
#define IDS_DURATION_HOURS_MINUTES 5609
#define IDS_UPDATING_PRODUCT 5610
#define IDS_HTTP_STATUS_BASE 14000

// The maker's web site, shown as a link on the error page.
#define ZAPDATE_WEB_SITE "http://www.velk.com"
