#pragma once
// The procedures' inputs and results by the formula names of their windows' fields, as the
// windows bind them: for tests that compare a window's or a formula file's numbers with a
// procedure's.

#include "designs/bridge_procedures.h"
#include "designs/dcdc_procedures.h"
#include "designs/flyback_procedures.h"
#include "designs/forward_procedures.h"
#include "designs/rcc_procedures.h"
#include "forms/field_form.h"

namespace tarnex::testing::binds {

constexpr Bound<DcDcInputs> kDcDcInputs[] = {TARNEX_BINDS(
    DcDcInputs, VinMin, VinMax, Vo, IoMax, Vsw, Vdf, f, Ptd, r, Bpk, Bsat, Cmil, Vopp, Ae)};
constexpr Bound<DcDcOutputs> kDcDcOutputs[] = {
    TARNEX_BINDS(DcDcOutputs, L, Ipk, Irms, DL, NL, Ton, Duty, Iswrms, Vswm, Idrms, Vdm, Co, Vc)};
constexpr Bound<FlybackInputs> kFlybackInputs[] = {
    TARNEX_BINDS(FlybackInputs, Po, Vo, Eff, VacMin, VacMax, Vswm, Vswr, f, Vdf, r, Ptd, Cmil, Vopp,
                 Ae, Le, Bpk, Bsat, Per)};
constexpr Bound<FlybackDesign> kFlybackDesign[] = {
    TARNEX_BINDS(FlybackDesign, Lp, Ls, Np, Ns, Dp, Ds, Zc, Iin, Ipkp, Irmsp, Iswe, Ton, Cin, Irmss,
                 Ipks, Vdm, Idm, Co, Vcm)};
constexpr Bound<ForwardInputs> kForwardInputs[] = {
    TARNEX_BINDS(ForwardInputs, VacMin, VacMax, Vo, Io, f, Eff, Vdf, Dmax, Bpk, Cmil, Kw, Ae)};
constexpr Bound<ForwardDesign> kForwardDesign[] = {
    TARNEX_BINDS(ForwardDesign, Np, Ns, Dp, Ds, Irmsp, Irmss, Lo)};
constexpr Bound<RccInputs> kRccInputs[] = {TARNEX_BINDS(
    RccInputs, VacMin, VacMax, Vo, IoMax, IoMin, fMin, Eff, Vswm, Vswr, Vsw, Vdf, Bpk, Ae, Cmil)};
constexpr Bound<RccDesign> kRccDesign[] = {
    TARNEX_BINDS(RccDesign, Lp, Ls, Ipkp, Ipks, Irmsp, Irmss, Np, Ns, Dp, Ds, fMax)};
constexpr Bound<BridgeInputs> kBridgeInputs[] = {
    TARNEX_BINDS(BridgeInputs, VacMin, VacMax, Vo, Io, f, Eff, Vdf, Dmax, DB, Cmil, Ae)};
constexpr Bound<BridgeDesign> kBridgeDesign[] = {
    TARNEX_BINDS(BridgeDesign, Np, Ns, Dp, Ds, Irmsp, Irmss, Lo)};
}  // namespace tarnex::testing::binds
