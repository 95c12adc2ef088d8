#pragma once

// The progress window "Aguarde Processamento ...", shown without blocking while a long
// operation works.

#include "platform/Form.h"

namespace velmaro {

class TConForm : public Form {
  public:
    TConForm();

    velmaro::ProgressBar ProgressBar;

    // Maximum 100 unless the caller gives another (a maximum below 1 counts as 100).
    void Start(int maximum = 100);

    LayoutItem Layout() override;
};

}  // namespace velmaro
