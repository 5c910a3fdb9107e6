// CQuilletDocManager: the device programmer's document manager. One image open at a time, the
// image file dialog with its remembered filter, and the question to reload an image whose file
// changed on disk, which the file-change watcher prompts.
#pragma once

#include "classlib/classlib.h"
#include "tarnel/shell/folder_watcher.h"

class CQuilletDocManager : public CDocManager {
    DECLARE_DYNAMIC(CQuilletDocManager)
public:
    // Starts the program's file-change watcher (once per program), which posts
    // kFilesChangedMessage to the constructing thread; the application installs the manager
    // before it registers its templates and answers that message with CheckModifiedDocuments.
    CQuilletDocManager();
    ~CQuilletDocManager() override;

    // The framework's opening; the folder of a newly opened file is watched from then on.
    CDocument* OpenDocumentFile(LPCTSTR lpszFileName) override;
    // The file dialog: the given template's filter (or every template's), both image types,
    // every file; it starts in the LastDir folder with the FilterIndex filter and `fileName` as
    // the proposed name, and stores the filter chosen back into FilterIndex, whatever the answer.
    BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                          CDocTemplate* pTemplate) override;
    // Closes every document (after offering to save them), then creates an image of the kind
    // chosen in "Select File Type". Both refuse, before any question, while a job of the
    // programming thread uses an open image.
    void OnFileNew() override;
    // Closes every document (after offering to save them), then the framework's File Open.
    void OnFileOpen() override;

    // Asks, image by image, about each file that changed on disk since the image read or wrote
    // it: Yes reads it again (and the look starts over), No keeps the image and its file's new
    // time. A file that is gone is reported once; an image without a file is never asked about.
    // An image a job of the programming thread uses is passed over, and the look runs again
    // once the run has ended.
    virtual void CheckModifiedDocuments();

    // Watches the folder of a file.
    void WatchFolder(LPCTSTR lpszPathName);

protected:
    void StartWatcher();
    bool RefuseWhileAnyInUse();
    // The thread timer of a look put off by a running job: once the run has ended, the look runs
    // again.
    static void CALLBACK OnRunEndPoll(HWND, UINT, UINT_PTR timer, DWORD);
    UINT_PTR m_runEndTimer = 0;

    // The watcher thread's handle: kept, never closed or waited for.
    HANDLE m_hWatcherThread = nullptr;
};
