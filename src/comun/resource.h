// Identifiers of the program's commands, controls, menus, dialogs, strings and images, shared
// by the C++ sources and fum.rc. Plain #defines only: the resource compiler reads this file.
#pragma once

// ---- Commands (WM_COMMAND ids of menu items, bar buttons and key bindings) ----------------

#define IDM_ABOUT              104
#define IDM_EXIT               106
#define IDM_OPEN               32771
#define IDM_NEXTWINDOW         32776
#define IDM_WORDWRAP           32778
#define IDM_CLOSE              32780
#define IDM_COPY               32781
#define IDM_CUT                32782
#define IDM_PASTE              32784
#define IDM_COPYAPPEND         32786
#define IDM_CUTAPPEND          32787
#define IDM_WINDOW_FIRST       32790   // document i of the Window menu is IDM_WINDOW_FIRST + i
#define IDM_WINDOW_LAST        33045
#define IDM_TOOL_FIRST         33046   // Tools command i is IDM_TOOL_FIRST + i
#define IDM_TOOL_LAST          33301
#define IDM_SETTINGS           40001
#define IDM_SAVE               40002
#define IDM_SAVEAS             40003
#define IDM_NEW                40005
#define IDM_UNDO               40007
#define IDM_RECENT_FIRST       40010   // recent file i of the File menu is IDM_RECENT_FIRST + i
#define IDM_RECENT_LAST        40019
#define IDM_MATCH              40031
#define IDM_MARK               40032
#define IDM_NEXTMARK           40033
#define IDM_PREVMARK           40034
#define IDM_PREVWINDOW         40035
#define IDM_GOTOLINE           40041
#define IDM_CLEARMARKS         40044
#define IDM_FINDNEXT           40053
#define IDM_FINDPREV           40054
#define IDM_TOGGLEFINDBAR      40056
#define IDM_IGNORECASE         40318
#define IDM_WHOLEWORDS         40319
#define IDM_REGEXP             40320
#define IDM_REPLACENEXT        40323
#define IDM_REPLACE            40324
#define IDM_REPLACEALL         40325
#define IDM_EXTENDSELECTION    40326
#define IDM_SELECTEDTEXT       40327
#define IDM_ALLDOCUMENTS       40328
#define IDM_BLOCKINDENT        40333   // key bindings only, from here to IDM_DELETEWORD
#define IDM_BLOCKUNINDENT      40334
#define IDM_DOCSTART           40335
#define IDM_DOCEND             40336
#define IDM_DOCSTARTEXTEND     40337
#define IDM_DOCENDEXTEND       40338
#define IDM_DELETEWORD         40339
#define IDM_REDO               40342
#define IDM_FINDTEXT           40343   // key binding only: select and focus the find text
#define IDM_SAVEALL            40345
#define IDM_HELP               40381
#define IDM_SELECTALL          40400
#define IDM_FORMAT_FIRST       40410   // File > Encoding: the file forms, in the order of
#define IDM_FORMAT_ANSI        40410   // IDS_FORMAT_FIRST and of the formats of FileFormat.cpp
#define IDM_FORMAT_UTF8        40411
#define IDM_FORMAT_UTF8BOM     40412
#define IDM_FORMAT_UTF16LE     40413
#define IDM_FORMAT_UTF16BE     40414
#define IDM_FORMAT_CRLF        40415
#define IDM_FORMAT_LF          40416
#define IDM_FORMAT_LAST        40416
#define IDM_COMPLETEWORD       40433   // Edit > Complete Word: the word before the caret
#define IDM_FINDINFILES        40430
#define IDM_GOTOLOCATION       40431   // the place named by the caret's line
#define IDM_NEXTLOCATION       40432   // the next place line of the last list of places
#define IDM_PREVLOCATION       40434

// Drop-down buttons of the main window's menu bar.
#define IDM_MENUBAR_TOOLS      40036   // the main menu, labelled IDS_MENUBAR_TOOLS
#define IDM_MENUBAR_FILE       40344
#define IDM_MENUBAR_EDIT       40309   // labelled 40311, which the string table does not hold

// Buttons of the open and save dialog's menu bar.
#define IDM_FILEDLG_MENU       40312   // drop-down with OK and Cancel, labelled 40313 (no string)
#define IDM_FILEDLG_FOLDERS    40047   // folder tree only
#define IDM_FILEDLG_FILES      40048   // file list only
#define IDM_FILEDLG_BOTH       40049   // tree and list
#define IDM_FILEDLG_NEWFOLDER  40050
#define IDM_FILEDLG_SHOWFOLDERS 40051  // folders in the file list
#define IDM_FILEDLG_FOLDERUP   40052

// Timer of the main window that reorders the documents after Next window.
#define IDT_CYCLE              40341
// Timer of the main window that writes the recovery journals of changed documents.
#define IDT_JOURNAL            40390
// Timer of the Find in Files dialog that shows the progress of its search.
#define IDT_FINDINFILES        40440

// ---- Controls -------------------------------------------------------------------------------

// Find bar (a command bar) and its fields.
#define IDC_FINDBAR            40057
#define IDC_LINENUMBER         40038   // static field showing the caret line
#define IDC_GOTOLINE           40039   // entry field in the same place, for Goto Line
#define IDC_FINDTEXT           40055
#define IDC_REPLACETEXT        40058

// Open and save dialog (IDD_FILEDIALOG).
#define IDC_FILEDLG_TREE       40042
#define IDC_FILEDLG_LIST       40043
#define IDC_FILEDLG_FILTER     40045
#define IDC_FILEDLG_NAME       40046
#define IDC_FILEDLG_LABEL      40040   // "Filename" before the name field

// Property sheet: the title area that carries the sheet's close button.
#define IDC_SHEET_TITLE        12328

// Document and Classes pages (IDD_CLASSES).
#define IDC_CLS_ACTIVEDOC      1040
#define IDC_CLS_NAMES          1033
#define IDC_CLS_NEW            1034
#define IDC_CLS_DELETE         1015
#define IDC_CLS_SECTION        40346
#define IDC_CLS_TABSIZE_LABEL  1041
#define IDC_CLS_TABSIZE        1004
#define IDC_CLS_RELINDENT_LABEL 1042
#define IDC_CLS_RELINDENT      1006
#define IDC_CLS_WORDWRAP       1007
#define IDC_CLS_INDENT         1008
#define IDC_CLS_FILTERTEXT     1031
#define IDC_CLS_FILTERS        1011
#define IDC_CLS_FILTERADD      1014
#define IDC_CLS_FILTERDELETE   1028
#define IDC_CLS_COLORS         40355
#define IDC_CLS_SWATCH         40356
#define IDC_CLS_SAMPLE         40357
#define IDC_CLS_RED            40358
#define IDC_CLS_GREEN          40359
#define IDC_CLS_BLUE           40360
#define IDC_CLS_RED_LABEL      40361
#define IDC_CLS_GREEN_LABEL    40362
#define IDC_CLS_BLUE_LABEL     40363
#define IDC_CLS_SETCOLOR       40364
#define IDC_CLS_FONT_LABEL     40352
#define IDC_CLS_FONTFAMILY     1009
#define IDC_CLS_FONTSTYLE      1010
#define IDC_CLS_FONTSIZE       1013
#define IDC_CLS_ALTERFONT      1019
#define IDC_CLS_WIDTH_LABEL    40348
#define IDC_CLS_WIDTH          1018
#define IDC_CLS_WIDTH_UNIT     40349
#define IDC_CLS_COMPRESS_LABEL 40350
#define IDC_CLS_COMPRESS       40347
#define IDC_CLS_COMPRESS_UNIT  40351
#define IDC_CLS_CLEARTYPE      1020
#define IDC_CLS_PROOF          1021
#define IDC_CLS_HASSYNTAX      1023
#define IDC_CLS_SYNTAX_LABEL   1043
#define IDC_CLS_SYNTAXFILE     1039

// Section ids of the Document and Classes pages (item data of IDC_CLS_SECTION).
#define IDC_SECTION_PARAGRAPH  1045
#define IDC_SECTION_FILTERS    1036
#define IDC_SECTION_COMMANDS   1037
#define IDC_SECTION_COLORS     1038
#define IDC_SECTION_FONT       40353
#define IDC_SECTION_SYNTAX     40354

// General page (IDD_GENERAL).
#define IDC_GEN_DEFEXT         1001
#define IDC_GEN_SAVEENV        1002
#define IDC_GEN_DIRFOLLOWS     1003
#define IDC_GEN_DEFDIR         1012
#define IDC_GEN_FILTERNAME     1047
#define IDC_GEN_FILTERDEF      1046
#define IDC_GEN_FILTERADD      1048
#define IDC_GEN_FILTERDELETE   1049
#define IDC_GEN_FILTERUP       1050
#define IDC_GEN_FILTERMODIFY   1052
#define IDC_GEN_REOPEN         1053

// Commands page (IDD_COMMANDS).
#define IDC_CMD_NAMES          40371
#define IDC_CMD_NEW            40372
#define IDC_CMD_DELETE         40373
#define IDC_CMD_PROGRAM        40365
#define IDC_CMD_BROWSE         40375
#define IDC_CMD_ARGUMENTS      40369
#define IDC_CMD_SAVEDOC        40367
#define IDC_CMD_SAVEALL        40368
#define IDC_CMD_CAPTURE        40370

// Associations page (IDD_ASSOCS).
#define IDC_ASC_EXTENSION      40376
#define IDC_ASC_FILETYPE       40377
#define IDC_ASC_LIST           40378
#define IDC_ASC_ADD            40379
#define IDC_ASC_DELETE         40380

// Find in Files (IDD_FINDINFILES).
#define IDC_FIF_TEXT           40435
#define IDC_FIF_FOLDER         40436
#define IDC_FIF_PATTERNS       40437
#define IDC_FIF_SUBFOLDERS     40438
#define IDC_FIF_STATUS         40439   // the progress of the search

// ---- Messages between parts of the program -------------------------------------------------

// Sent by the tizedit fields to their parent; the first parameter holds the field's id.
#define WM_FIELD_TAB           1281
#define WM_FIELD_ENTER         1282
#define WM_FIELD_ESCAPE        1283
#define WM_FIELD_TAP           1284
#define WM_FIELD_FOCUSLOST     1285
// Sent by the open and save dialog to its owner to show the help topic "fileopen".
#define WM_FILEDLG_HELP        5684
// Posted by a captured Tools run to the main window when its output has ended.
#define WM_TOOL_FINISHED       5690

// ---- Menus ----------------------------------------------------------------------------------

#define IDR_MENUBAR            99      // menu bar of the main window (menu and bar description)
#define IDR_VIEWPOPUP          101     // context menu of the edit view
#define IDR_FINDBARMENU        115     // "Find" menu of the find bar
#define IDR_FIELDPOPUP         116     // context menu of the tizedit fields
#define IDR_FILEDLGBAR         120     // menu bar of the open and save dialog

// ---- Dialogs --------------------------------------------------------------------------------

#define IDD_ABOUT              103
#define IDD_FILEDIALOG         107
#define IDD_GENERAL            108
#define IDD_CLASSES            110     // both the Document and the Classes page
#define IDD_COMMANDS           117
#define IDD_ASSOCS             121
#define IDD_FINDINFILES        122

// ---- Strings --------------------------------------------------------------------------------

#define IDS_PROGRAMNAME        103     // "fum"
#define IDS_FILTERS            105     // built-in filter list, "-" between the parts
#define IDS_CLASSNAME          111     // window class of the main window
#define IDS_ASKSAVE            124
#define IDS_ASKREPLACE         125
#define IDS_ASKCREATE          126
#define IDS_TIP_VIEWDETAILS    128     // tooltips of the open and save dialog's buttons
#define IDS_TIP_FOLDERSVIEW    129
#define IDS_TIP_FILEVIEW       130
#define IDS_TIP_SHOWFOLDERS    131
#define IDS_TIP_NEWFOLDER      132
#define IDS_TIP_FOLDERUP       133
#define IDS_FINDPREVIOUS       144
#define IDS_FINDTEXT           145
#define IDS_FINDNEXT           146
#define IDS_TIP_EDITMENU       150     // tooltips of the main window's menu bar
#define IDS_TIP_FILESAVE       151
#define IDS_TIP_UNDO           152
#define IDS_TIP_NEXTWINDOW     153
#define IDS_TIP_FINDBAR        154
#define IDS_TIP_NEXTMARK       155
#define IDS_ERROR              160     // caption of error messages
#define IDS_CANTOPEN           161
#define IDS_CANTSAVE           162
#define IDS_NOMEMORY           163
#define IDS_ALREADYOPEN        164
#define IDS_TITLEPREFIX        165     // the main window's title before the document name
#define IDS_NOTITLE            166     // the main window's title with no document shown
#define IDS_COLUMN_NAME        175
#define IDS_COLUMN_SIZE        176
#define IDS_COLUMN_DATE        177
#define IDS_TITLE_OPEN         178
#define IDS_TITLE_SAVEAS       179
#define IDS_RECOVER            190     // the question for a journal left behind; %1 the name
#define IDS_RECOVERKEPT        191     // a journal whose file changed; %1 the name, %2 its path
#define IDS_LINETOOLONG        192     // a file with a line too long to open; %1 its name
#define IDS_CANTSTORE          193     // the question before a save that would replace characters
#define IDS_FILECHANGED        195     // another program changed a modified document's file; %1 the name
#define IDS_SAVEOVER           196     // the question before saving over such a file; %1 the name
#define IDS_FILEREMOVED        197     // another program removed a document's file; %1 the name
#define IDS_LOADING            198     // progress of a long load: %1 the file's name, %2 the percentage
#define IDS_SAVING             199     // the same of a long save
#define IDS_MENUBAR_TOOLS      40037   // label of the menu bar's first button
#define IDS_CANTRUN            301     // a Tools program could not be started
#define IDS_STOPCAPTURE        302     // Exit while captured Tools runs go on
#define IDS_CAPTUREBUSY        303     // a second captured run of one document
#define IDS_EXITCODE           304     // last line of captured output after a failure
#define IDS_FIF_PROGRESS       350     // Find in Files while it searches: files, hits
#define IDS_FIF_SUMMARY        351     // last line of its results: hits, files, files searched
#define IDS_FIF_SUMMARYNOTES   352     // the same with what could not be searched
#define IDS_FIF_NOFOLDER       353     // the folder to search does not exist
#define IDS_FIF_NOTEXT         354     // nothing to search for
#define IDS_LOCATION_MISSING   355     // Go to Location: the file named is not there
#define IDS_FIF_UNREADABLE     356     // in the notes of IDS_FIF_SUMMARYNOTES
#define IDS_FIF_COSTLY         357     // lines too costly for the expression, in the same

// The settings sheet and its pages.
#define IDS_SHEET_TITLE        600     // "Settings"
#define IDS_PAGE_DOCUMENT      602     // page titles, in sheet order
#define IDS_PAGE_GENERAL       603
#define IDS_PAGE_CLASSES       604
#define IDS_PAGE_COMMANDS      605
#define IDS_PAGE_ASSOCS        606
#define IDS_SECTION_PARAGRAPH  610     // section names of the Document and Classes pages
#define IDS_SECTION_FILTERS    611
#define IDS_SECTION_COMMANDS   612
#define IDS_SECTION_COLORS     613
#define IDS_SECTION_FONT       614
#define IDS_SECTION_SYNTAX     615
#define IDS_COLOUR_FIRST       620     // labels of the 12 colour slots, 620 to 631
#define IDS_TESTTEXT           632     // sample text drawn in the chosen colour
#define IDS_NEEDFILTER         640     // refusals of the Document and Classes pages
#define IDS_BADTABSIZE         641
#define IDS_BADRELINDENT       642
#define IDS_NEEDSYNTAX         643
#define IDS_BADFONT            644
#define IDS_BADWIDTH           645
#define IDS_NEEDCOMMAND        646     // refusal of the Commands page
#define IDS_EXT_NODOT          647     // refusals of the Associations page
#define IDS_EXT_BADCHARS       648
#define IDS_FORMAT_FIRST       180     // names of the file forms shown in the title, in the
#define IDS_FORMAT_ANSI        180     // order of IDM_FORMAT_FIRST
#define IDS_FORMAT_UTF8        181
#define IDS_FORMAT_UTF8BOM     182
#define IDS_FORMAT_UTF16LE     183
#define IDS_FORMAT_UTF16BE     184
#define IDS_FORMAT_CRLF        185
#define IDS_FORMAT_LF          186

// ---- Bitmaps and icons ----------------------------------------------------------------------

#define IDI_FUM                1       // the program and associated files without an icon below
#define IDI_TEX                2       // .tex
#define IDI_CPP                3       // .cpp
#define IDI_GP                 4       // .gp
#define IDI_H                  5       // .h
#define IDB_MARK               102     // 6 x 6 sign of a marked line
#define IDB_TOOLBAR            114     // 14 toolbar images of 16 x 16, silver is the button face
#define IDB_CLOSE              118     // two 17 x 17 close buttons, released and pressed
#define IDB_SORTMARKS          119     // three 16 x 16 header images: none, ascending, descending

// Images of IDB_TOOLBAR, in strip order. A bar that first adds the 15 standard small images
// numbers them from 15 on (the main window's menu bar uses 20, 21, 22, 24, 25 and 28).
#define TBIMG_FINDPREV         0
#define TBIMG_REPLACENEXT      1
#define TBIMG_FILESONLY        2
#define TBIMG_FOLDERSONLY      3
#define TBIMG_BOTHVIEWS        4
#define TBIMG_NEXTWINDOW       5
#define TBIMG_NEXTMARK         6
#define TBIMG_EDITMENU         7
#define TBIMG_SHOWFOLDERS      8
#define TBIMG_FINDBAR          9
#define TBIMG_FINDNEXT         10
#define TBIMG_NEWFOLDER        11
#define TBIMG_FOLDERUP         12
#define TBIMG_FILEMENU         13
#define TBIMG_COUNT            14
