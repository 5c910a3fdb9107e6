// The programming operations: what the programming thread does for one job.
//
// Each takes the run (its port, the program's main window and questions) and the job, posts its
// own intermediate statuses to the job's status window and returns 1 for success and 0 for
// failure; the read, write and verify tell a cancel apart. The thread posts each job's end status.
#pragma once

#include "job_run.h"
#include "tarnel/protocols/board_protocol.h"

// How an operation ended. Differed: a verify that compared every cell and found some that differ;
// the run goes on with its next job.
enum class JobOutcome { Failed, Done, Cancelled, Differed };

// ActivateResidentLoader's result when the user cancelled the upload.
constexpr int kLoaderCancelled = 53;

int CheckConnectionJob(CJobRun& run, JobRequest& job);
int ReadBoardIdJob(CJobRun& run, JobRequest& job);
// Brings the chip into its programming mode or boot loader (EnterChipLoader); for a device code
// without one (0, when a blank check closes) sends the set-type packet.
int SetChipTypeJob(CJobRun& run, JobRequest& job);
int EnterChipLoader(CJobRun& run, JobRequest& job);
// Uploads and starts the HC908 chip's RAM-resident loader: 0, kLoaderCancelled, or the failing
// step's code.
int ActivateResidentLoader(CJobRun& run, JobRequest& job, CBoardProtocol& board);
JobOutcome ReadJob(CJobRun& run, JobRequest& job);
JobOutcome WriteJob(CJobRun& run, JobRequest& job);
// Differing cells make the verify fail.
JobOutcome VerifyJob(CJobRun& run, JobRequest& job);
int EraseJob(CJobRun& run, JobRequest& job);
int BlankCheckJob(CJobRun& run, JobRequest& job);
// Always 1: the outcome is in the statuses it posts.
int SetSecurityBitsJob(CJobRun& run, JobRequest& job);
