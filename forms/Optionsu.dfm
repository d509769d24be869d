object OptionsF: TOptionsF
  Left = 406
  Top = 193
  BorderStyle = bsDialog
  Caption = 'Options...'
  ClientHeight = 130
  ClientWidth = 168
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = True
  Position = poOwnerFormCenter
  Scaled = False
  Visible = True
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnShow = FormShow
  PixelsPerInch = 120
  TextHeight = 16
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 153
    Height = 81
    BevelInner = bvLowered
    BevelOuter = bvRaised
    TabOrder = 0
    object CheckBox1: TCheckBox
      Left = 8
      Top = 16
      Width = 121
      Height = 17
      Caption = 'See the comet'
      TabOrder = 0
    end
    object CheckBox2: TCheckBox
      Left = 8
      Top = 48
      Width = 121
      Height = 17
      Caption = 'See the orbits'
      TabOrder = 1
    end
  end
  object BitBtn1: TBitBtn
    Left = 8
    Top = 96
    Width = 75
    Height = 25
    TabOrder = 1
    OnClick = BitBtn1Click
    Kind = bkOK
  end
  object BitBtn2: TBitBtn
    Left = 88
    Top = 96
    Width = 75
    Height = 25
    Caption = 'About...'
    TabOrder = 2
    OnClick = BitBtn2Click
    Glyph = 'ABOUTGLYPH'
    NumGlyphs = 2
  end
end
