// What the image documents need from the program around them: the user's choices in dialogs,
// the current chip and the settings they read or keep.
#pragma once

#include <memory>

#include "classlib/classlib.h"
#include "tarnel/programming/app_settings.h"
#include "tarnel/images/image_areas.h"
#include "tarnel/programming/job_request.h"
#include "tarnel/images/memory_image.h"

// The choices a document asks the user before it builds an image or queues a job. The program
// answers them with its choice dialogs; each answer is read only after the dialog's OK.
class IDocumentChoices {
public:
    virtual ~IDocumentChoices() = default;

    // "Select chip": the chosen chip and the area lengths in bytes; false on Cancel.
    virtual bool SelectChip(CString& chipName, AreaSizes& lengths) = 0;
    // "Memory settings" for a .bin job: the memory kind (1, 2 or 4) and the base address among
    // the areas present; the base can be typed only when allowed. False on Cancel.
    virtual bool ChooseMemory(const AreaChoice& present, bool baseAllowed, BYTE& kind,
                              UINT& base) = 0;
    // "Destination Memory": which areas of the current chip; boardLabels for device code 169.
    // False on Cancel.
    virtual bool ChooseDestination(bool boardLabels, AreaChoice& chosen) = 0;
    // "New Bin File": the length of a new .bin image; false on Cancel.
    virtual bool NewBinLength(UINT& length) = 0;
    // "Select format of HEX file" (cannot be cancelled): 0 Intel HEX, 1 Motorola S-records.
    virtual int ChooseHexFormat() = 0;
    // "Select resident loader": 0 or 1; false on Cancel.
    virtual bool ChooseResidentLoader(int& index) = 0;
};

// The program as the documents see it. The application object implements it; a program whose
// application does not gets a host without a chip, whose every choice is cancelled and which
// queues nothing.
class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;

    // The settings: the documents read ChipName (the current chip) and keep LastDir and
    // GotoAddress.
    virtual CAppSettings& Settings() = 0;
    // Makes a chip the current one: the ChipName setting and the settings bar's selection.
    virtual void SetCurrentChip(const CString& chipName) = 0;
    virtual IDocumentChoices& Choices() = 0;

    // The program's cancel word, which every job points to.
    virtual CancelWord& Cancel() = 0;
    // Where the programming thread posts the statuses of a job (the main frame).
    virtual HWND StatusWindow() = 0;
    // Hands a job to the program's job queue, which owns it from here on; the queue's answer.
    virtual int StartJob(std::unique_ptr<JobRequest> job) = 0;
    // The programming thread is running the queue's jobs.
    virtual bool IsProgrammingRunning() = 0;
};

// The application's host.
IDocumentHost& DocumentHost();
