object VeloriumF2: TVeloriumF2
  Left = 449
  Top = 174
  BorderStyle = bsNone
  Caption = 'VeloriumF2'
  ClientHeight = 144
  ClientWidth = 193
  Color = clBlack
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = True
  Position = poDefault
  Scaled = False
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnResize = FormResize
  OnShow = FormShow
  PixelsPerInch = 120
  object Timer1: TTimer
    Interval = 40
    OnTimer = Timer1Timer
    Left = 24
    Top = 24
  end
end
