object AboutF: TAboutF
  Left = 338
  Top = 243
  BorderStyle = bsDialog
  Caption = 'About...'
  ClientHeight = 201
  ClientWidth = 361
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -14
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = True
  Position = poOwnerFormCenter
  PixelsPerInch = 120
  TextHeight = 16
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 346
    Height = 153
    BevelInner = bvRaised
    BevelOuter = bvLowered
    Color = clBtnFace
    TabOrder = 0
    object ProgramIcon: TImage
      Left = 10
      Top = 10
      Width = 80
      Height = 70
      Picture = 'ABOUTPICTURE'
      Stretch = True
    end
    object ProductName: TLabel
      Left = 108
      Top = 20
      Width = 87
      Height = 19
      Caption = 'Velorium I'
      Font.Charset = ANSI_CHARSET
      Font.Color = clWindowText
      Font.Height = -17
      Font.Name = 'Times New Roman'
      Font.Style = [fsBold]
    end
    object Label1: TLabel
      Left = 108
      Top = 52
      Width = 107
      Height = 16
      Caption = 'Velorium developers'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clWindowText
      Font.Height = -13
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
    end
    object Label2: TLabel
      Left = 108
      Top = 68
      Width = 179
      Height = 16
      Cursor = crHandPoint
      Caption = 'velorium@example.org'
      Font.Charset = DEFAULT_CHARSET
      Font.Color = clWindowText
      Font.Height = -13
      Font.Name = 'MS Sans Serif'
      Font.Style = [fsBold]
      OnClick = Label2Click
      OnMouseEnter = Label2MouseEnter
      OnMouseLeave = Label2MouseLeave
    end
    object Comments: TLabel
      Left = 10
      Top = 96
      Width = 327
      Height = 49
      Alignment = taCenter
      AutoSize = False
      Caption = 'An OpenGL simulation of the sun, its planets and a comet. Their real dimensions have been changed to make the picture nicer.'
      WordWrap = True
    end
  end
  object BitBtn1: TBitBtn
    Left = 143
    Top = 168
    Width = 75
    Height = 25
    TabOrder = 1
    Kind = bkOK
  end
end
