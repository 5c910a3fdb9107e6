// The PIC16/PIC18 back-end: board packets in which each data cell travels in the even place of a
// pair and the code and special areas travel as 16-bit words, their bytes swapped.
#include <cstring>

#include "chip_backend.h"

namespace {

const BYTE kPicPadding = 0x3F;
const BYTE kWholeSpecialArea = 0xFF;

// What the PIC18 chip keeps of each configuration byte (pairs swapped, as the area holds them).
const BYTE kPic18ConfigMask[16] = {0x00, 0x27, 0x0F, 0x0F, 0x00, 0x01, 0x85, 0x00,
                                   0x0F, 0xC0, 0x0F, 0xE0, 0x0F, 0x40, 0x00, 0x00};

DWORD AtMost(DWORD left, DWORD cells) { return left < cells ? left : cells; }

class PicBackend : public ChipBackend {
public:
    using ChipBackend::ChipBackend;

    int Enter(CJobRun& run, JobRequest& /*job*/) override { return m_chip.SetChipType(run.Port()); }

    // The special area as the chip must take it, changed in the area itself. A PIC16 keeps the
    // chip's own calibration word; a PIC18 gets its configuration bytes masked and its fixed bits
    // set.
    bool BeforeWrite(CJobRun& run, JobRequest& job) override {
        if (job.memoryKind != kMemorySpecial || job.size < 16) {
            return true;
        }
        if (m_objects.m_facts.keepsCalibrationWord) {
            TakeCalibrationWord(run, job);
        } else {
            for (int j = 0; j < 16; ++j) {
                job.area[j] &= kPic18ConfigMask[j ^ 1];
            }
            job.area[7] |= 0x04;
            job.area[13] |= 0x0F;
            job.area[12] |= 0x40;
        }
        return true;
    }

    // A data block covers the 16 cells from its first, whatever their marks, but never runs past
    // the end of the area; a word block is its WordSpan, a byte outside the job as padding.
    int WriteBlock(CJobRun& run, JobRequest& job, DWORD start, const CellBlock& block) override {
        CComms& port = run.Port();
        port.SetTimeOut(m_objects.m_facts.writeTimeOut);
        const BYTE* from = job.area + block.first;
        BYTE packet[32];
        std::memset(packet, kPicPadding, sizeof packet);
        if (job.memoryKind == kMemoryData) {
            DWORD cells = AtMost(job.size - block.first, kBlockCells);
            for (DWORD j = 0; j < cells; ++j) {
                packet[2 * j] = from[j];
            }
            return m_chip.WriteBlock(port, static_cast<WORD>(start + block.first), cells * 2,
                                     packet);
        }
        const WordSpan span = WordSpanOf(start, job.size, block.first);
        for (DWORD place = 0; place < span.places; ++place) {
            DWORD cell = 0;
            if (CellAtPlace(start, job.size, span, place, &cell)) {
                packet[place] = job.area[cell];
            }
        }
        return m_chip.WriteBlock(port, static_cast<WORD>(span.address), span.places, packet);
    }

    // The data area 16 cells a block, the code area 32, the special area 16.
    int ReadBlock(CJobRun& run, JobRequest& job, DWORD c, DWORD* cells) override {
        CComms& port = run.Port();
        BYTE* to = job.area + c;
        const WORD address = static_cast<WORD>(c);
        const DWORD left = job.size - c;
        BYTE packet[32];
        int result = BOARD_LINE_FAILED;
        switch (job.memoryKind) {
            case kMemoryData:
                *cells = AtMost(left, 16);
                result = m_chip.ReadBlock(port, address, *cells * 2, packet);
                for (DWORD j = 0; result == BOARD_OK && j < *cells; ++j) {
                    to[j] = packet[2 * j];
                }
                return result;
            case kMemoryCode:
            case kMemorySpecial:
                *cells = AtMost(left, job.memoryKind == kMemoryCode ? 32 : 16);
                result = m_chip.ReadBlock(port, address, *cells, packet);
                if (result == BOARD_OK) {
                    SwapWordBytes(packet, to, *cells);
                }
                return result;
            default:
                return result;
        }
    }

    // The calibration bytes (places 12 and 13 of the special area) never differ: they are taken
    // from the chip first.
    void BeforeVerify(CJobRun& run, JobRequest& job) override {
        if (job.memoryKind == kMemorySpecial && job.size >= 16) {
            TakeCalibrationWord(run, job);
        }
    }

    // A data block as in WriteBlock; a word block read as its WordSpan and each of the block's
    // cells taken from its word.
    int VerifyBlock(CJobRun& run, JobRequest& job, DWORD start, const CellBlock& block, BYTE* chip,
                    DWORD* cells) override {
        CComms& port = run.Port();
        *cells = block.count;
        BYTE packet[32];
        int result;
        if (job.memoryKind == kMemoryData) {
            *cells = AtMost(job.size - block.first, kBlockCells);
            result =
                m_chip.ReadBlock(port, static_cast<WORD>(start + block.first), *cells * 2, packet);
            for (DWORD j = 0; j < *cells; ++j) {
                chip[j] = packet[2 * j];
            }
            return result;
        }
        const WordSpan span = WordSpanOf(start, job.size, block.first);
        result = m_chip.ReadBlock(port, static_cast<WORD>(span.address), span.places, packet);
        for (DWORD place = 0; place < span.places; ++place) {
            DWORD cell = 0;
            if (CellAtPlace(start, job.size, span, place, &cell) && cell >= block.first &&
                cell < block.first + block.count) {
                chip[cell - block.first] = packet[place];
            }
        }
        return result;
    }

    int Erase(CJobRun& run, JobRequest& /*job*/) override { return m_chip.Erase(run.Port()); }

private:
    // The chip's calibration word into places 12 and 13 of the special area (the area's pairs
    // swapped); not when that read fails: its bytes are not the chip's.
    void TakeCalibrationWord(CJobRun& run, JobRequest& job) {
        BYTE chip[16];
        BYTE selector = m_chip.MemoryKind();
        m_chip.SetMemoryKind(kWholeSpecialArea);
        int result = m_chip.ReadBlock(run.Port(), 0, sizeof chip, chip);
        m_chip.SetMemoryKind(selector);
        if (result == BOARD_OK) {
            job.area[12] = chip[13];
            job.area[13] = chip[12];
        }
    }
};

}  // namespace

std::unique_ptr<DeviceBackend> MakePicBackend(JobObjects& objects) {
    return std::make_unique<PicBackend>(objects);
}
