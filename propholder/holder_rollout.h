// The procedure of the holder's rollout: the capture and restore buttons.
#pragma once

class ParamMap2UserDlgProc;
class QZMPropHolder;

// A new procedure bound to `holder`; the rollout that is given it owns it.
ParamMap2UserDlgProc* NewHolderRolloutProc(QZMPropHolder* holder);
