// CStoppedProgressCtrl: a progress bar that can show that its work stopped short. Stopped, it
// paints itself: the part done in the colour of a failure, the rest empty. The common controls
// draw such a state (PBM_SETSTATE) only with visual styles, and themed bars ignore a bar colour
// (PBM_SETBARCOLOR); Wine's do both.
#pragma once

#include "framework/common_controls.h"

class CStoppedProgressCtrl : public CProgressCtrl {
public:
    // Stopped or running again; repaints.
    void SetStopped(BOOL stopped);
    BOOL IsStopped() const { return m_bStopped; }

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(HDC dc) override;

private:
    BOOL m_bStopped = FALSE;
};
