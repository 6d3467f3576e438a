#pragma once
// The main window's commands, one member each, named as their objects are
// (the names tests find them by). Menu items, tool buttons and
// context-menu items that do the same thing are separate actions with states
// of their own.
class QAction;

namespace tz {

struct MainCommands {
    // File menu (fmnReSearchAdd: submenu of the recent folders; fmnReOpen: submenu of the recent lists).
    QAction *fmnAdd {}, *fmnSearchAdd {}, *fmnReSearchAdd {}, *fmnSystemAdd {}, *fmnNew {}, *fmnOpen {}, *fmnReOpen {},
        *fmnAddList {}, *fmnSave {}, *fmnSaveAs {}, *fmnPrint {}, *fmnPrintPreview {}, *fmnSetup {}, *fmnExit {};
    // Edit menu (emnDeleteOK: hidden; Shift+Del).
    QAction *emnDelete {}, *emnDeleteOK {}, *emnSelectAll {}, *emnSelectInvert {};
    // Search menu.
    QAction *smnFind {}, *smnFindChars {}, *smnFindDuplicates {};
    // View menu (vmnSort: submenu).
    QAction *vmnSort {}, *vmnSortByName {}, *vmnSortByFamily {}, *vmnSortByPath {}, *vmnSortByArchive {},
        *vmnSortBySize {}, *vmnJumpPreview {};
    // Tools menu (E1: submenu of the file association; OpenTyposcan: shown when the sibling program exists).
    QAction *tmnOpen {}, *tmnOpenDoc {}, *tmnCopy {}, *tmnInstall {}, *tmnOpenFolder1 {}, *tmnOpenFolder2 {},
        *fmnProperty {}, *E1 {}, *fmnFileTypeAdd {}, *fmnFileTypeRemove {}, *OpenTyposcan {};
    // Options, window and help menus.
    QAction *omnEnv {}, *omnMessage {}, *wmnActivePreviewWindow {}, *wfmWindowState {}, *hmnContents {}, *hmnTopic {},
        *hmnAbout {};
    // Tool buttons.
    QAction *tBtnSearchAdd {}, *tbnOpenList {}, *tBtnSave {}, *tBtnPageSetup {}, *tBtnPrintPreview {}, *tBtnPrint {},
        *tBtnEnv {}, *tBtnMessage {}, *tBtnFind {}, *tBtnOpen {}, *tBtnOpenDoc {}, *tBtnInstall {}, *tBtnDelete {};
    // Context menu (pmnInstall: hidden).
    QAction *pmnSearchAdd {}, *pmnPrintPreview {}, *pmnJumpPreview {}, *pmnOpenDoc {}, *pmnInstall {}, *pmnEnv {},
        *pmnMessage {}, *pmnProperty {};
};

} // namespace tz
