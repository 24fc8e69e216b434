// What each entry point does, over the services of one call. The DLL's
// exports bind the platform's services and guard against exceptions; the
// bodies here are the same natively, against fakes.
#pragma once

#include "plugin/host_contract.h"
#include "system/services.h"

namespace kn::entry {

int DrawExSpecification(ChipDescription* description);
int DrawExConfigure(Services& services);
int DrawExAbout(Services& services);
int InitializeChip(Services& services, ChipHandle* out, const ChipSettings* settings);
int UnInitializeChip(Services& services, ChipHandle chip);
int CalcDefaultRect(Services& services, ChipHandle chip, int* size);
int DrawChip(Services& services, ChipHandle chip, DcHandle dc);
int MouseClik(Services& services, ChipHandle chip, const ClickPoint* point);
int Zoom(Services& services, ChipHandle chip, int flag);
int Update(Services& services, ChipHandle chip, const ChipSettings* settings);
MenuHandle GetDrawExMenu(Services& services, ChipHandle chip);
int DoDrawExMenu(Services& services, ChipHandle chip, unsigned id);
int EditHelper(Services& services, EditRequest* request);
int GetSaveData(Services& services, ChipHandle chip, GlobalHandle* block);
int GetTimerSpan(Services& services, ChipHandle chip);
int DoTimer(Services& services, ChipHandle chip);

}  // namespace kn::entry
