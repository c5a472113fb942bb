#include "medialist/TListStepper.h"

#include "medialist/TMediaNavigator.h"

void TListStepper::StepForward()
{
    TMediaNavigator(entries_, cursor_).StepForward();
}

void TListStepper::StepBack()
{
    TMediaNavigator(entries_, cursor_).StepBack();
}

void TListStepper::StepRandom(TRandomGenerator &random)
{
    TMediaNavigator(entries_, cursor_).StepRandom(drawPool_, random);
}

TListStepper::TStep TListStepper::StepByOrder() const
{
    switch (order_) {
    case loNoOrder:
        return TStep::None;
    case loPostOrder:
        return TStep::Back;
    case loRandom:
        return TStep::Random;
    default:
        return TStep::Forward;
    }
}
