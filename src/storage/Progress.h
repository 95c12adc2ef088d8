#pragma once

namespace velmaro {

// What a long storage operation reports while it works; the shell shows it as the
// progress window "Aguarde Processamento ...".
class ProgressSink {
  public:
    virtual ~ProgressSink() = default;
    virtual void Begin(int maximum) = 0;
    virtual void SetPosition(int position) = 0;
    virtual void End() = 0;
};

class NullProgress final : public ProgressSink {
  public:
    void Begin(int) override {}
    void SetPosition(int) override {}
    void End() override {}
};

}  // namespace velmaro
